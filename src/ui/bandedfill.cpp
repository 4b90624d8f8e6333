#include "ui/bandedfill.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

void BandedFill::fillRect(QPainter &painter, const QRectF &rect, const QBrush &brush)
{
    const QTransform device = painter.deviceTransform();
    const QRectF area = device.mapRect(rect);
    if (device.type() > QTransform::TxScale || device.m22() <= 0 || area.height() <= 2 * bandRows) {
        painter.fillRect(rect, brush);
        return;
    }
    // The first and last bands keep the rectangle's own edges; those between meet at whole rows,
    // where an antialiased band covers its rows in full and a plain one rounds to them, so no row
    // is given to two bands (the brush may be translucent). Only rows are mapped: with no
    // rotation the sides stay as they were given.
    const QTransform logical = device.inverted();
    qreal top = rect.top();
    for (qreal next = std::ceil(area.top()) + bandRows; next < area.bottom(); next += bandRows) {
        const qreal bottom = logical.map(QPointF(0, next)).y();
        painter.fillRect(QRectF(rect.left(), top, rect.width(), bottom - top), brush);
        top = bottom;
    }
    painter.fillRect(QRectF(rect.left(), top, rect.width(), rect.bottom() - top), brush);
}

} // namespace kestrune
