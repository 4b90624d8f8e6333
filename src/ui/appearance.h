#pragma once

#include <QPalette>

namespace kestrune {

// The two appearances the program draws in. The appearance in effect is carried by the palette:
// the theme controller installs a light or a dark application palette, and anything painted
// resolves its colours against the palette of the widget it paints.
enum class Appearance
{
    light,
    dark
};

// Dark when the palette's window text is lighter than its window, light otherwise.
Appearance appearanceOf(const QPalette &palette);
// The appearance of the application palette.
Appearance currentAppearance();

} // namespace kestrune
