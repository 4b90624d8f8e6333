#pragma once

#include "ui/themecolors.h"

namespace kestrune {

// The colours of the main window and its root view: the shared ones under the names of what they
// paint here, and the few only the shell uses.
struct ShellColors
{
    static constexpr DynamicColor windowBackground =
        dynamicColor(0.03f, 0.06f, 0.11f, 1.0f, 0.93f, 0.95f, 0.98f, 1.0f);
    static constexpr DynamicColor gradientTopLeading = ThemeColors::canvasTop;
    static constexpr DynamicColor gradientBottomTrailing = ThemeColors::canvasBottom;
    static constexpr DynamicColor tabsBarBackground =
        dynamicColor(0.07f, 0.10f, 0.16f, 0.96f, 0.95f, 0.96f, 0.98f, 0.98f);
    static constexpr DynamicColor sidebarBackground = ThemeColors::sidebarBackground;
    static constexpr DynamicColor detailBackground = ThemeColors::paneBackground;
    static constexpr DynamicColor hairline = ThemeColors::hairline;
    static constexpr DynamicColor sidebarSeparator =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.57f, 0.63f, 0.72f, 0.16f);
    static constexpr DynamicColor strongText = ThemeColors::primaryText;
    static constexpr DynamicColor mutedText = ThemeColors::secondaryText;
    static constexpr DynamicColor subtleFill = ThemeColors::subtleFill;
    static constexpr DynamicColor accent = ThemeColors::accent;
    static constexpr DynamicColor selectedTabFill = ThemeColors::selection;
};

} // namespace kestrune
