#include "markdown/layout/style/tableborderstyle.h"

namespace kestrune {

namespace {

QList<QRectF> rowBoundaries(const TableBorderStyle::Bounds &b, qreal width)
{
    QList<QRectF> rects;
    for (qsizetype row = 1; row < b.rowTops.size(); ++row)
        rects.append(QRectF(b.bounds.left(), b.rowTops[row] - width / 2, b.bounds.width(), width));
    return rects;
}

QList<QRectF> columnBoundaries(const TableBorderStyle::Bounds &b, qreal width)
{
    QList<QRectF> rects;
    for (qsizetype column = 1; column < b.columnLefts.size(); ++column)
        rects.append(QRectF(b.columnLefts[column] - width / 2, b.bounds.top(), width, b.bounds.height()));
    return rects;
}

} // namespace

TableBorderStyle::Borders TableBorderStyle::allBorders(const Bounds &bounds, qreal borderWidth)
{
    return {{bounds.bounds}, rowBoundaries(bounds, borderWidth) + columnBoundaries(bounds, borderWidth)};
}

TableBorderStyle::Borders TableBorderStyle::insideBorders(const Bounds &bounds, qreal borderWidth)
{
    return {{}, rowBoundaries(bounds, borderWidth) + columnBoundaries(bounds, borderWidth)};
}

TableBorderStyle::Borders TableBorderStyle::outsideBorders(const Bounds &bounds, qreal)
{
    return {{bounds.bounds}, {}};
}

TableBorderStyle::Borders TableBorderStyle::horizontalBorders(const Bounds &bounds, qreal borderWidth)
{
    const QRectF &b = bounds.bounds;
    QList<QRectF> rects{QRectF(b.left(), b.top() - borderWidth / 2, b.width(), borderWidth),
                        QRectF(b.left(), b.bottom() - borderWidth / 2, b.width(), borderWidth)};
    return {{}, rects + rowBoundaries(bounds, borderWidth)};
}

} // namespace kestrune
