#include "ui/themedsymbolicon.h"

#include "ui/symbolicon.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace kestrune {

bool ThemedSymbolIcon::themeHas(const QString &themeName)
{
    return QIcon::hasThemeIcon(themeName);
}

QIcon ThemedSymbolIcon::icon(const QString &themeName, QStringView fallbackSymbol, const QColor &color,
                             int size)
{
    const QIcon themed = QIcon::fromTheme(themeName);
    if (themed.isNull())
        return SymbolIcon::icon(fallbackSymbol, color, size);
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const qreal ratio = application ? application->devicePixelRatio() : 1.0;
    QIcon icon;
    for (const qreal scale : {ratio, 1.0}) {
        const int pixels = int(std::ceil(size * scale));
        QImage image = themed.pixmap(QSize(pixels, pixels))
                           .toImage()
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return SymbolIcon::icon(fallbackSymbol, color, size);
        {
            // The drawing's coverage, filled with the colour.
            QPainter painter(&image);
            painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
            painter.fillRect(image.rect(), color);
        }
        QPixmap pixmap = QPixmap::fromImage(std::move(image));
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
        if (scale == 1.0 || ratio == 1.0)
            break;
    }
    return icon;
}

} // namespace kestrune
