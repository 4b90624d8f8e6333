#pragma once

#include "ui/themecolors.h"

namespace kestrune {

// The colours every part of the dashboard draws with, each resolved against the appearance at
// paint time: the shared ones under the names of what they paint here, and those only the
// dashboard uses. A percentage in the design ("secondaryText at 90 %") is withOpacity(0.9f).
struct DashboardPalette
{
    static constexpr DynamicColor canvasTop = ThemeColors::canvasTop;
    static constexpr DynamicColor canvasBottom = ThemeColors::canvasBottom;
    static constexpr DynamicColor draftAccent =
        dynamicColor(1.0f, 0.56f, 0.2f, 1.0f, 0.96f, 0.5f, 0.15f, 0.98f);
    static constexpr DynamicColor activeAccent = ThemeColors::accent;
    static constexpr DynamicColor completedAccent = ThemeColors::completedAccent;
    static constexpr DynamicColor primaryText = ThemeColors::primaryText;
    static constexpr DynamicColor secondaryText = ThemeColors::secondaryText;
    static constexpr DynamicColor dividerLine =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.15f, 0.58f, 0.64f, 0.72f, 0.3f);
    static constexpr DynamicColor pillFill =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.16f, 0.36f, 0.42f, 0.51f, 0.12f);
    static constexpr DynamicColor cardFill = ThemeColors::cardFill;
    static constexpr DynamicColor cardFillMuted =
        dynamicColor(0.07f, 0.1f, 0.16f, 1.0f, 0.97f, 0.98f, 0.99f, 0.96f);
    static constexpr DynamicColor cardBorder = ThemeColors::cardBorder;
    static constexpr DynamicColor dashedBorder =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.14f, 0.58f, 0.64f, 0.72f, 0.2f);

    // Faint marks drawn on a card at low opacity: progress tracks, pending workflow nodes, open
    // connectors. White in the dark appearance; in the light one the primary text's ink, since
    // white at those opacities vanishes on a near-white card.
    static constexpr DynamicColor faintInk = {
        {1.0f, 1.0f, 1.0f, 1.0f},
        {primaryText.light().red, primaryText.light().green, primaryText.light().blue, 1.0f}};
};

} // namespace kestrune
