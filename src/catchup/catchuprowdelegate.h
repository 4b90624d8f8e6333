#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace kestrune {

// Paints the catch-up list's rows. A heading row: the group's name in bold, what it is (a change,
// an archived change) after it in the secondary colour. A file row, in two lines: its name, with
// the lines added and removed at the trailing end when they could be counted (added in the colour
// of the preview's added blocks, removed in its removed one); below, in the secondary colour, what changed
// and when. A removed file's name is in the secondary colour too: it cannot be opened. Colours are resolved
// against the row's palette, so light and dark both follow the theme.
class CatchUpRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QFont titleFont();
    static QFont detailFont();
    static QFont headingFont();
    static int rowHeight();
    static int headingHeight();

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace kestrune
