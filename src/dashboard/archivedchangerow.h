#pragma once

#include "dashboard/changecardframe.h"
#include "project/changesummary.h"

#include <QWidget>

namespace kestrune {

// A change moved to the archive: its name and the day it was archived, muted, on a card with a
// dashed outline. It does nothing when clicked, but takes the keyboard focus (with a focus ring) so
// that it can be reached and read out like the other cards.
class ArchivedChangeRow : public QWidget
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
    void paintEvent(QPaintEvent *event) override;

private:
    static QString captionOf(const ChangeSummary &change);
    static int textHeight(bool withCaption);

    ChangeSummary m_change;
    QString m_caption;
    ChangeCardFrame m_frame;
};

} // namespace kestrune
