#include "dashboard/cardsurface.h"

#include <QPainter>

#include <algorithm>

namespace kestrune {

QPainterPath CardSurface::roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    path.addRoundedRect(rect, r, r);
    return path;
}

QPainterPath CardSurface::capsule(const QRectF &rect)
{
    return roundedRect(rect, std::min(rect.width(), rect.height()) / 2);
}

void CardSurface::paint(QPainter *painter, const QRectF &rect, qreal radius, const QColor &fill,
                        const QColor &outline, const QList<qreal> &dashPattern)
{
    paint(painter, rect, radius, QBrush(fill), outline, dashPattern);
}

void CardSurface::paint(QPainter *painter, const QRectF &rect, qreal radius, const QBrush &fill,
                        const QColor &outline, const QList<qreal> &dashPattern)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // Half a point in, so that the one-point outline lies on whole pixels and stays inside.
    const QRectF edge = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter->fillPath(roundedRect(rect, radius), fill);
    QPen pen(outline, 1.0);
    if (!dashPattern.isEmpty()) {
        // Qt measures dash patterns in pen widths; the width is one point.
        pen.setDashPattern(dashPattern);
        pen.setCapStyle(Qt::FlatCap);
    }
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(roundedRect(edge, std::max(0.0, radius - 0.5)));
    painter->restore();
}

} // namespace kestrune
