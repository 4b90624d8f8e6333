#pragma once

#include "dashboard/changecardframe.h"
#include "project/changesummary.h"

#include <QAbstractButton>

namespace kestrune {

// A change moved to the archive: its name and the day it was archived, muted, on a card with a
// dashed outline. The whole row is a button (with a focus ring); clicked() asks for the change's
// proposal. Space and Enter click it.
class ArchivedChangeRow : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ArchivedChangeRow(const ChangeSummary &change, QWidget *parent = nullptr);

    const ChangeSummary &change() const { return m_change; }
    // The same change, analysed again: shows its new date in place.
    void setChange(const ChangeSummary &change);
    // The archive caption, empty when the change has no archive date.
    QString captionText() const { return m_caption; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Whether the row of a change shows the day it was archived; the height of a row with or
    // without that caption, and every row's least width: known before a row is made.
    static bool showsCaption(const ChangeSummary &change);
    static int rowHeight(bool withCaption);
    static int minimumWidth();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static QString captionOf(const ChangeSummary &change);
    static int textHeight(bool withCaption);

    ChangeSummary m_change;
    QString m_caption;
    ChangeCardFrame m_frame;
};

} // namespace kestrune
