#pragma once

#include "ui/themecolors.h"

namespace kestrune {

// The colours of the project outline: the shared ones under the names of what they paint here,
// and those only the outline uses.
struct SidebarColors
{
    static constexpr DynamicColor background = ThemeColors::sidebarBackground;
    static constexpr DynamicColor icon = ThemeColors::secondaryText;
    static constexpr DynamicColor emptyText = icon;
    static constexpr DynamicColor name = ThemeColors::primaryText;
    // The status badges, in the colours the dashboard gives each kind of change.
    static constexpr DynamicColor draftBadge = ThemeColors::secondaryText;
    static constexpr DynamicColor activeBadge = ThemeColors::accent;
    static constexpr DynamicColor completedBadge = ThemeColors::completedAccent;
    // The highlight of the selected row, a tint of the accent colour that keeps the name readable.
    static constexpr DynamicColor selection = ThemeColors::selection;
    // Secondary texts: a search hit's line number, the change a file belongs to, match counts.
    static constexpr DynamicColor secondaryText = icon;
    // Behind the matched text of a search hit: a warm tint that keeps the text readable.
    static constexpr DynamicColor searchMatch =
        dynamicColor(1.0f, 0.84f, 0.25f, 0.45f, 0.85f, 0.62f, 0.0f, 0.45f);
    // An invalid search expression's error.
    static constexpr DynamicColor errorText = ThemeColors::errorText;
    // The unread mark of a file changed or new since last read, and the quieter one of a folder
    // holding such a file.
    static constexpr DynamicColor unreadFile = ThemeColors::accent;
    static constexpr DynamicColor unreadFolder = ThemeColors::accent.withOpacity(0.5f);
    // The ring around the current row while the outline has the keyboard focus: the accent.
    static constexpr DynamicColor focusRing = activeBadge;
};

} // namespace kestrune
