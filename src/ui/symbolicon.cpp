#include "ui/symbolicon.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QThread>

#include <atomic>
#include <cmath>

namespace kestrune {

namespace {

// Symbol name → icon file under :/symbols. The one place that knows which drawing stands for
// which symbol.
const QHash<QString, QString> &symbolFiles()
{
    static const QHash<QString, QString> files = {
        {QStringLiteral("folder.fill"), QStringLiteral("folder-filled")},
        {QStringLiteral("folder"), QStringLiteral("folder")},
        {QStringLiteral("doc.text"), QStringLiteral("file-text")},
        {QStringLiteral("chevron.down"), QStringLiteral("chevron-down")},
        {QStringLiteral("chevron.up"), QStringLiteral("chevron-up")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron-right")},
        {QStringLiteral("chevron.left"), QStringLiteral("chevron-left")},
        {QStringLiteral("square.grid.2x2"), QStringLiteral("layout-grid")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("refresh")},
        {QStringLiteral("sun.max"), QStringLiteral("sun")},
        {QStringLiteral("moon"), QStringLiteral("moon")},
        {QStringLiteral("circle.lefthalf.filled"), QStringLiteral("circle-half-2")},
        {QStringLiteral("checkmark"), QStringLiteral("check")},
        {QStringLiteral("clock"), QStringLiteral("clock")},
        {QStringLiteral("archivebox"), QStringLiteral("archive")},
        {QStringLiteral("dot.scope"), QStringLiteral("focus-2")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("circle-check")},
        {QStringLiteral("arrow.uturn.backward.circle"), QStringLiteral("arrow-back-up")},
        {QStringLiteral("ellipsis"), QStringLiteral("dots")},
        {QStringLiteral("circle.fill"), QStringLiteral("circle-filled")},
        {QStringLiteral("circle"), QStringLiteral("circle")},
        {QStringLiteral("square.fill"), QStringLiteral("square-filled")},
        {QStringLiteral("checkmark.square.fill"), QStringLiteral("square-check-filled")},
        {QStringLiteral("square"), QStringLiteral("square")},
        {QStringLiteral("photo.slash"), QStringLiteral("photo-off")},
        {QStringLiteral("line.3.horizontal"), QStringLiteral("menu-2")},
        {QStringLiteral("xmark"), QStringLiteral("x")},
        {QStringLiteral("exclamationmark.triangle"), QStringLiteral("alert-triangle")},
        {QStringLiteral("callout.note"), QStringLiteral("callout-note")},
        {QStringLiteral("callout.tip"), QStringLiteral("callout-tip")},
        {QStringLiteral("callout.important"), QStringLiteral("callout-important")},
        {QStringLiteral("callout.warning"), QStringLiteral("callout-warning")},
        {QStringLiteral("callout.caution"), QStringLiteral("callout-caution")},
    };
    return files;
}

// Stroke width in the icons' 24-unit grid for a font weight; the drawings use 2 at regular.
QByteArray strokeWidthFor(QFont::Weight weight)
{
    if (weight >= QFont::Bold)
        return QByteArrayLiteral("2.6");
    if (weight >= QFont::DemiBold)
        return QByteArrayLiteral("2.35");
    if (weight >= QFont::Medium)
        return QByteArrayLiteral("2.15");
    return QByteArrayLiteral("2");
}

QByteArray svgData(const QString &file, QFont::Weight weight)
{
    QFile svg(QStringLiteral(":/symbols/%1.svg").arg(file));
    if (!svg.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = svg.readAll();
    // Drawn black, then tinted as a whole, so both stroked and filled drawings take the colour.
    data.replace("currentColor", "#000000");
    data.replace("stroke-width=\"2\"", "stroke-width=\"" + strokeWidthFor(weight) + '"');
    return data;
}

std::atomic<quint64> missCount{0};

} // namespace

bool SymbolIcon::exists(QStringView name)
{
    return symbolFiles().contains(name.toString());
}

QImage SymbolIcon::image(QStringView name, int size, const QColor &color, QFont::Weight weight,
                         qreal devicePixelRatio)
{
    const auto file = symbolFiles().constFind(name.toString());
    if (file == symbolFiles().constEnd() || size <= 0)
        return {};
    const int pixels = int(std::ceil(size * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QSvgRenderer renderer(svgData(*file, weight));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    return image;
}

QPixmap SymbolIcon::pixmap(QStringView name, int size, const QColor &color, QFont::Weight weight,
                           qreal devicePixelRatio)
{
    const auto file = symbolFiles().constFind(name.toString());
    if (file == symbolFiles().constEnd() || size <= 0)
        return {};

    // Symbols are drawn on every repaint of every row: keep each tinted rendering. Used from the
    // main thread only.
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(*file)
                            .arg(size)
                            .arg(color.rgba(), 0, 16)
                            .arg(int(weight))
                            .arg(devicePixelRatio);
    if (const auto hit = cache.constFind(key); hit != cache.constEnd())
        return *hit;

    ++missCount;
    QPixmap pixmap = QPixmap::fromImage(image(name, size, color, weight, devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    if (cache.size() > 512)
        cache.clear();
    cache.insert(key, pixmap);
    return pixmap;
}

void SymbolIcon::paint(QPainter *painter, const QRectF &rect, QStringView name, const QColor &color,
                       QFont::Weight weight, int size)
{
    int side = int(std::floor(std::min(rect.width(), rect.height())));
    if (size > 0)
        side = std::min(side, size);
    // Drawn for the pixels it lands on: a page drawn larger (zoomed) gets a larger pixmap.
    const qreal scale = std::abs(painter->worldTransform().m11());
    const qreal ratio =
        (painter->device() ? painter->device()->devicePixelRatioF() : 1.0) * (scale > 0 ? scale : 1.0);
    const QPointF topLeft(rect.center().x() - side / 2.0, rect.center().y() - side / 2.0);
    const QPointF at(std::round(topLeft.x()), std::round(topLeft.y()));
    // Pages are also painted off the window's thread (printing), where pixmaps and their cache
    // are not to be used.
    const QCoreApplication *application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        QImage symbol = image(name, side, color, weight, ratio);
        symbol.setDevicePixelRatio(ratio);
        if (!symbol.isNull())
            painter->drawImage(at, symbol);
        return;
    }
    const QPixmap symbol = pixmap(name, side, color, weight, ratio);
    if (symbol.isNull())
        return;
    painter->drawPixmap(at, symbol);
}

quint64 SymbolIcon::cacheMisses()
{
    return missCount.load();
}

QIcon SymbolIcon::icon(QStringView name, const QColor &color, int size, QFont::Weight weight)
{
    QIcon icon;
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const qreal ratio = application ? application->devicePixelRatio() : 1.0;
    icon.addPixmap(pixmap(name, size, color, weight, ratio));
    if (ratio != 1.0)
        icon.addPixmap(pixmap(name, size, color, weight, 1.0));
    return icon;
}

} // namespace kestrune
