#pragma once

#include "dashboard/changecardframe.h"
#include "dashboard/statusbadge.h"
#include "dashboard/taskprogressbar.h"
#include "project/changesummary.h"
#include "reading/cardreadingfacts.h"

#include <optional>

#include <QAbstractButton>

namespace kestrune {

// A change under way: its name, an "active" badge and its task progress. The whole card is a
// button; clicked() asks for the change folder to be opened. Space and Enter click it.
class ActiveChangeCard : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ActiveChangeCard(const ChangeSummary &change, QWidget *parent = nullptr);

    const ChangeSummary &change() const { return m_change; }
    // The same change, analysed again: shows its new progress in place.
    void setChange(const ChangeSummary &change);
    // What moved since the reader last looked; nothing shows nothing.
    void setReadingFacts(const std::optional<ChangeReadingFacts> &facts);
    const std::optional<ChangeReadingFacts> &readingFacts() const { return m_readingFacts; }
    // The caption above the progress bar: the task progress, or what moved since last looked.
    QString captionText() const;
    const TaskProgressBar &progressBar() const { return m_progress; }
    // The caption at the right of the progress line: the stored value, not clamped.
    QString percentText() const;
    // Where the progress bar is drawn, in the card's coordinates.
    QRectF progressBarRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Every active card's height and least width, known before one is made.
    static int cardHeight();
    static int minimumWidth();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static int headerHeight();
    static int captionHeight();
    void updateAccessibleName();

    ChangeSummary m_change;
    StatusBadge m_badge;
    TaskProgressBar m_progress;
    ChangeCardFrame m_frame;
    std::optional<ChangeReadingFacts> m_readingFacts;
};

} // namespace kestrune
