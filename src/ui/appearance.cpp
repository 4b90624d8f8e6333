#include "ui/appearance.h"

#include <QGuiApplication>

namespace kestrune {

Appearance appearanceOf(const QPalette &palette)
{
    const int window = palette.color(QPalette::Active, QPalette::Window).lightness();
    const int text = palette.color(QPalette::Active, QPalette::WindowText).lightness();
    return text > window ? Appearance::dark : Appearance::light;
}

Appearance currentAppearance()
{
    return appearanceOf(QGuiApplication::palette());
}

} // namespace kestrune
