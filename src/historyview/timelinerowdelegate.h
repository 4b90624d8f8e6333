#pragma once

#include <QStyledItemDelegate>

namespace kestrune {

// Draws a row of a change's timeline: a dot on the line that joins the commits at the left, then
// the subject with the day at the right, what the commit did to the change (in the accent
// colour) with its author, and the files it touched; the selection, hover and focus like the
// outline's rows. Colours resolve against the view's palette while painting.
class TimelineRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int gutterWidth = 34;
    static constexpr int paddingV = 9;
    static constexpr int paddingH = 12;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace kestrune
