#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The platform's standard named colours, each in its light and dark variant.
struct StandardColors
{
    static constexpr DynamicColor green = dynamicColor(0.19f, 0.82f, 0.35f, 1.0f, 0.20f, 0.78f, 0.35f, 1.0f);
    static constexpr DynamicColor orange = dynamicColor(1.0f, 0.62f, 0.04f, 1.0f, 1.0f, 0.58f, 0.0f, 1.0f);
    static constexpr DynamicColor red = dynamicColor(1.0f, 0.27f, 0.23f, 1.0f, 1.0f, 0.23f, 0.19f, 1.0f);
    static constexpr DynamicColor clear = dynamicColor(0, 0, 0, 0, 0, 0, 0, 0);
    // The default text colour (primary label) and the secondary text style.
    static constexpr DynamicColor primaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.85f, 0.0f, 0.0f, 0.0f, 0.85f);
    static constexpr DynamicColor secondaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.55f, 0.0f, 0.0f, 0.0f, 0.5f);
};

} // namespace kestrune
