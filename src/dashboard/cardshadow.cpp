#include "dashboard/cardshadow.h"

#include "dashboard/cardsurface.h"

#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrune {

namespace {

// One pass of a running-sum box blur along rows (or columns) of an 8-bit alpha image.
void boxBlur(QImage &image, int radius, bool horizontal)
{
    if (radius <= 0)
        return;
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const int window = 2 * radius + 1;
    std::vector<uchar> source(size_t(length), 0);
    for (int line = 0; line < lines; ++line) {
        const auto at = [&](int i) -> uchar & {
            return horizontal ? image.scanLine(line)[i] : image.scanLine(i)[line];
        };
        for (int i = 0; i < length; ++i)
            source[size_t(i)] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? source[size_t(i)] : 0;
        for (int i = 0; i < length; ++i) {
            at(i) = uchar(sum / window);
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            if (leaving >= 0)
                sum -= source[size_t(leaving)];
            if (entering < length)
                sum += source[size_t(entering)];
        }
    }
}

} // namespace

QImage CardShadow::image(const QSize &cardSize, qreal cornerRadius, int blurRadius, qreal devicePixelRatio)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1x%2|%3|%4|%5")
                            .arg(cardSize.width())
                            .arg(cardSize.height())
                            .arg(cornerRadius)
                            .arg(blurRadius)
                            .arg(devicePixelRatio);
    if (const auto hit = cache.constFind(key); hit != cache.constEnd())
        return *hit;

    const int m = margin(blurRadius);
    const QSize logical = cardSize + QSize(2 * m, 2 * m);
    QImage shadow(logical * devicePixelRatio, QImage::Format_Alpha8);
    shadow.fill(0);
    {
        QPainter painter(&shadow);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(devicePixelRatio, devicePixelRatio);
        painter.fillPath(CardSurface::roundedRect(QRectF(QPointF(m, m), QSizeF(cardSize)), cornerRadius),
                         Qt::black);
    }
    // Three box passes come close to a Gaussian. A blur radius r spreads the shadow over about r
    // points, a standard deviation of r / 2.
    const qreal sigma = blurRadius * devicePixelRatio / 2.0;
    const int box = std::max(0, int(std::lround((std::sqrt(12 * sigma * sigma / 3 + 1) - 1) / 2)));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(shadow, box, true);
        boxBlur(shadow, box, false);
    }
    // Black, with the blurred coverage as its alpha.
    shadow = shadow.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    shadow.setDevicePixelRatio(devicePixelRatio);
    if (cache.size() > 64)
        cache.clear();
    cache.insert(key, shadow);
    return shadow;
}

} // namespace kestrune
