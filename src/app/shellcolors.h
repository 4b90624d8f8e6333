#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The colours of the main window and its root view.
struct ShellColors
{
    static constexpr DynamicColor windowBackground =
        dynamicColor(0.03f, 0.06f, 0.11f, 1.0f, 0.93f, 0.95f, 0.98f, 1.0f);
    static constexpr DynamicColor gradientTopLeading =
        dynamicColor(0.04f, 0.07f, 0.13f, 1.0f, 0.95f, 0.96f, 0.98f, 1.0f);
    static constexpr DynamicColor gradientBottomTrailing =
        dynamicColor(0.01f, 0.03f, 0.07f, 1.0f, 0.93f, 0.94f, 0.97f, 1.0f);
    static constexpr DynamicColor tabsBarBackground =
        dynamicColor(0.07f, 0.10f, 0.16f, 0.96f, 0.95f, 0.96f, 0.98f, 0.98f);
    static constexpr DynamicColor sidebarBackground =
        dynamicColor(0.08f, 0.12f, 0.18f, 0.96f, 0.94f, 0.95f, 0.97f, 0.98f);
    static constexpr DynamicColor detailBackground =
        dynamicColor(0.07f, 0.10f, 0.16f, 0.90f, 0.95f, 0.96f, 0.98f, 0.95f);
    static constexpr DynamicColor hairline =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.14f, 0.57f, 0.63f, 0.72f, 0.26f);
    static constexpr DynamicColor sidebarSeparator =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.57f, 0.63f, 0.72f, 0.16f);
    static constexpr DynamicColor strongText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
    static constexpr DynamicColor mutedText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.60f, 0.29f, 0.35f, 0.45f, 0.72f);
    static constexpr DynamicColor subtleFill =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.30f, 0.36f, 0.47f, 0.08f);
    static constexpr DynamicColor accent = dynamicColor(0.28f, 0.60f, 1.0f, 1.0f, 0.23f, 0.50f, 0.95f, 1.0f);
    static constexpr DynamicColor selectedTabFill =
        dynamicColor(0.22f, 0.45f, 0.85f, 0.28f, 0.23f, 0.50f, 0.95f, 0.18f);
};

} // namespace kestrune
