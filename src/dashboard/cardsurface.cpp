#include "dashboard/cardsurface.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>

namespace kestrune {

namespace {

void paintDirectly(QPainter *painter, const QRectF &rect, qreal radius, const QBrush &fill,
                   const QColor &outline, const QList<qreal> &dashPattern)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // Half a point in, so that the one-point outline lies on whole pixels and stays inside.
    const QRectF edge = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter->fillPath(CardSurface::roundedRect(rect, radius), fill);
    QPen pen(outline, 1.0);
    if (!dashPattern.isEmpty()) {
        // Qt measures dash patterns in pen widths; the width is one point.
        pen.setDashPattern(dashPattern);
        pen.setCapStyle(Qt::FlatCap);
    }
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(CardSurface::roundedRect(edge, std::max(0.0, radius - 0.5)));
    painter->restore();
}

// The key of a surface in the pixmap cache: everything that shapes its pixels.
QString cacheKey(const QSizeF &size, qreal radius, const QColor &fill, const QColor &outline,
                 const QList<qreal> &dashPattern)
{
    QString key = QStringLiteral("kestrune-card-surface:%1x%2:%3:%4:%5")
                      .arg(size.width())
                      .arg(size.height())
                      .arg(radius)
                      .arg(fill.rgba64(), 0, 16)
                      .arg(outline.rgba64(), 0, 16);
    for (const qreal dash : dashPattern)
        key += QLatin1Char(':') + QString::number(dash);
    return key;
}

} // namespace

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
    // A grid of cards draws the same surface again and again, on every scroll step too, and
    // stroking a rounded outline with antialiasing is the dearest part of painting a card: a
    // surface in a solid colour at whole pixels of a plain screen (no scaling) is drawn once into
    // a picture kept in the pixmap cache. Drawn that way an antialiased edge pixel may differ by a
    // few levels out of 255 from one drawn in place.
    const QTransform &transform = painter->deviceTransform();
    const QPointF origin = transform.map(rect.topLeft());
    const bool wholePixels = transform.type() <= QTransform::TxTranslate && origin == origin.toPoint() &&
                             rect.size() == QSizeF(rect.size().toSize()) && !rect.isEmpty();
    const bool plainScreen = !painter->device() || painter->device()->devicePixelRatioF() == 1.0;
    if (!wholePixels || !plainScreen || fill.style() != Qt::SolidPattern) {
        paintDirectly(painter, rect, radius, fill, outline, dashPattern);
        return;
    }
    const QString key = cacheKey(rect.size(), radius, fill.color(), outline, dashPattern);
    QPixmap surface;
    if (!QPixmapCache::find(key, &surface)) {
        surface = QPixmap(rect.size().toSize());
        surface.fill(Qt::transparent);
        QPainter onSurface(&surface);
        paintDirectly(&onSurface, QRectF(QPointF(0, 0), rect.size()), radius, fill, outline, dashPattern);
        onSurface.end();
        QPixmapCache::insert(key, surface);
    }
    painter->drawPixmap(rect.topLeft(), surface);
}

} // namespace kestrune
