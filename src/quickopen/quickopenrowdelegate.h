#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace kestrune {

// Paints a row of quick open in two lines: the title, its letters the query matched in the
// accent colour and bold, with the delta badge of a delta specification's entry at its end; below
// it, in the secondary colour, where the entry is (a file's folder, with its matched letters
// marked too). Colours are resolved against the row's palette, so light and dark both follow the
// theme.
class QuickOpenRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QFont titleFont();
    static QFont detailFont();
    static int rowHeight();

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace kestrune
