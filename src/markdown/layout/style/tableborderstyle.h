#pragma once

#include "ui/dynamiccolor.h"

#include <QList>
#include <QRectF>

#include <functional>

namespace kestrune {

// How a table draws its borders: which rectangles (a selector over the table's bounds and the
// border width), in which colour and stroke. Outer borders are stroked along the table's
// bounds; the inner ones are bands as thick as the border, filled.
struct TableBorderStyle
{
    // Where a laid-out table's rows and columns are.
    struct Bounds
    {
        QRectF bounds;
        QList<qreal> rowTops; // one per row, in order
        QList<qreal> rowHeights;
        QList<qreal> columnLefts; // one per column, in order
        QList<qreal> columnWidths;
    };

    struct Borders
    {
        QList<QRectF> outer; // stroked
        QList<QRectF> inner; // filled
    };

    using Selector = std::function<Borders(const Bounds &bounds, qreal borderWidth)>;

    static Borders allBorders(const Bounds &bounds, qreal borderWidth);
    static Borders insideBorders(const Bounds &bounds, qreal borderWidth);
    static Borders outsideBorders(const Bounds &bounds, qreal borderWidth);
    static Borders horizontalBorders(const Bounds &bounds, qreal borderWidth);

    Selector visibleBorders = &TableBorderStyle::allBorders;
    DynamicColor color = dynamicColor(1.0f, 1.0f, 1.0f, 0.55f, 0.0f, 0.0f, 0.0f, 0.5f);
    qreal lineWidth = 1;
    qreal miterLimit = 10;
};

} // namespace kestrune
