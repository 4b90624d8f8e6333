#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The colours every part of the dashboard draws with, each resolved against the appearance at
// paint time. A percentage in the design ("secondaryText at 90 %") is withOpacity(0.9f).
struct DashboardPalette
{
    static constexpr DynamicColor canvasTop =
        dynamicColor(0.04f, 0.07f, 0.13f, 1.0f, 0.95f, 0.96f, 0.98f, 1.0f);
    static constexpr DynamicColor canvasBottom =
        dynamicColor(0.01f, 0.03f, 0.07f, 1.0f, 0.93f, 0.94f, 0.97f, 1.0f);
    static constexpr DynamicColor draftAccent =
        dynamicColor(1.0f, 0.56f, 0.2f, 1.0f, 0.96f, 0.5f, 0.15f, 0.98f);
    static constexpr DynamicColor activeAccent =
        dynamicColor(0.28f, 0.6f, 1.0f, 1.0f, 0.23f, 0.5f, 0.95f, 1.0f);
    static constexpr DynamicColor completedAccent =
        dynamicColor(0.2f, 0.87f, 0.52f, 1.0f, 0.15f, 0.75f, 0.43f, 0.98f);
    static constexpr DynamicColor primaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.94f, 0.12f, 0.16f, 0.22f, 0.95f);
    static constexpr DynamicColor secondaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.56f, 0.3f, 0.36f, 0.45f, 0.72f);
    static constexpr DynamicColor dividerLine =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.15f, 0.58f, 0.64f, 0.72f, 0.3f);
    static constexpr DynamicColor pillFill =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.16f, 0.36f, 0.42f, 0.51f, 0.12f);
    static constexpr DynamicColor cardFill =
        dynamicColor(0.08f, 0.12f, 0.18f, 1.0f, 0.98f, 0.98f, 0.99f, 0.98f);
    static constexpr DynamicColor cardFillMuted =
        dynamicColor(0.07f, 0.1f, 0.16f, 1.0f, 0.97f, 0.98f, 0.99f, 0.96f);
    static constexpr DynamicColor cardBorder =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.16f, 0.58f, 0.64f, 0.72f, 0.24f);
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
