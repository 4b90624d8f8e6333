#pragma once

#include <QStyledItemDelegate>

namespace kestrune {

// Draws the rows of the search results: a file row like an outline row (its icon, its name, then
// its change or specification and the folders below that in the secondary colour, the match count
// and the delta or status badge); a hit row as its line number and the line's text around the match, the
// match on a highlight, cut at the start when the match would be out of sight.
class SearchResultDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The part of a line a hit row shows, and where the match lies in it: the start is cut (and an
    // ellipsis put in front) so that at most `leadWidth` pixels of text come before the match.
    struct Excerpt
    {
        QString text;
        qsizetype matchStart = 0;
        qsizetype matchLength = 0;
    };
    static Excerpt excerpt(QStringView line, qsizetype column, qsizetype length, const QFont &font,
                           qreal leadWidth);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintFileRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintHitRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
};

} // namespace kestrune
