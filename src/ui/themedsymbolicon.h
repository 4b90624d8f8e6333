#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringView>

namespace kestrune {

// An icon of the desktop's icon theme, tinted like the program's own symbols, with one of those
// symbols in its place when the theme has none. Symbolic theme icons come drawn in one fixed
// grey meant for a light surface; tinted with the colour the view asks for, they read in the
// dark appearance as well.
//
//     ThemedSymbolIcon::icon(QStringLiteral("open-menu-symbolic"), u"line.3.horizontal", color);
class ThemedSymbolIcon
{
public:
    ThemedSymbolIcon() = delete;

    // `size` × `size` device-independent pixels, at the application's device pixel ratio.
    static QIcon icon(const QString &themeName, QStringView fallbackSymbol, const QColor &color,
                      int size = 16);
    // Whether the desktop's icon theme has an icon of that name.
    static bool themeHas(const QString &themeName);
};

} // namespace kestrune
