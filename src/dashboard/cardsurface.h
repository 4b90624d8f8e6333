#pragma once

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace kestrune {

// The rounded surfaces of the dashboard's cards: a filled rounded rectangle with its outline, one
// point wide and centred on the shape's edge (kept inside the widget so it is never clipped).
class CardSurface
{
public:
    CardSurface() = delete;

    static QPainterPath roundedRect(const QRectF &rect, qreal radius);
    // A capsule: a rounded rectangle whose ends are fully round.
    static QPainterPath capsule(const QRectF &rect);

    // Fills the shape and strokes its outline; an empty dash pattern draws a solid line, else
    // the pattern is in points: drawn, gap, drawn, gap... A surface of a solid colour at whole
    // pixels is drawn from the pixmap cache after its first time.
    static void paint(QPainter *painter, const QRectF &rect, qreal radius, const QColor &fill,
                      const QColor &outline, const QList<qreal> &dashPattern = {});
    static void paint(QPainter *painter, const QRectF &rect, qreal radius, const QBrush &fill,
                      const QColor &outline, const QList<qreal> &dashPattern = {});
};

} // namespace kestrune
