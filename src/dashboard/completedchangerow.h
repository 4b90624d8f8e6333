#pragma once

#include "dashboard/changecardframe.h"
#include "project/changesummary.h"

#include <QAbstractButton>

namespace kestrune {

// A change whose tasks are all done: a check mark, its name and the day it was completed. The
// whole row is a button; clicked() asks for the change folder to be opened. Space and Enter click
// it.
class CompletedChangeRow : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CompletedChangeRow(const ChangeSummary &change, QWidget *parent = nullptr);

    const ChangeSummary &change() const { return m_change; }
    // The same change, analysed again: shows its new date in place.
    void setChange(const ChangeSummary &change);
    // The date line, empty when the change has no completion date.
    QString dateText() const { return m_date; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Whether the row of a change shows a date; the height of a row with or without one, and
    // every row's least width: known before a row is made.
    static bool showsDate(const ChangeSummary &change);
    static int rowHeight(bool withDate);
    static int minimumWidth();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static QString dateTextOf(const ChangeSummary &change);
    static int textHeight(bool withDate);

    ChangeSummary m_change;
    QString m_date;
    ChangeCardFrame m_frame;
};

} // namespace kestrune
