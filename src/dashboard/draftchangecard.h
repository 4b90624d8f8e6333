#pragma once

#include "dashboard/changecardframe.h"
#include "dashboard/statusbadge.h"
#include "dashboard/workflowstageindicator.h"
#include "project/changesummary.h"

#include <QAbstractButton>

namespace kestrune {

// A change still being written: its name, a "draft" badge and where it stands in the workflow,
// on a muted card with a dashed outline. The whole card is a button (with a focus ring); clicked()
// asks for the change's proposal. Space and Enter click it.
class DraftChangeCard : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DraftChangeCard(const ChangeSummary &change, QWidget *parent = nullptr);

    const ChangeSummary &change() const { return m_change; }
    // The same change, analysed again: shows its new stage in place.
    void setChange(const ChangeSummary &change);
    const WorkflowStageIndicator &stageIndicator() const { return m_indicator; }

    // The change did not exist when the reader last looked: a dot on its symbol says so.
    void setNew(bool isNew);
    bool isNew() const { return m_isNew; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Every draft card's height and least width, known before one is made.
    static int cardHeight();
    static int minimumWidth();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static int headerHeight();
    void updateAccessibleName();

    ChangeSummary m_change;
    StatusBadge m_badge;
    WorkflowStageIndicator m_indicator;
    ChangeCardFrame m_frame;
    bool m_isNew = false;
};

} // namespace kestrune
