#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The colours that more than one part of the window paints with, defined once so that the shell,
// the outline, the dashboard and the preview cannot drift apart. Each part's own colour table
// (ShellColors, SidebarColors, DashboardPalette, PreviewColors) names these after the role they
// play there and adds only the colours nobody else uses.
struct ThemeColors
{
    // The backdrop gradient behind the dashboard and the empty window, top to bottom.
    static constexpr DynamicColor canvasTop =
        dynamicColor(0.04f, 0.07f, 0.13f, 1.0f, 0.95f, 0.96f, 0.98f, 1.0f);
    static constexpr DynamicColor canvasBottom =
        dynamicColor(0.01f, 0.03f, 0.07f, 1.0f, 0.93f, 0.94f, 0.97f, 1.0f);
    // Behind the project outline.
    static constexpr DynamicColor sidebarBackground =
        dynamicColor(0.08f, 0.12f, 0.18f, 0.96f, 0.94f, 0.95f, 0.97f, 0.98f);
    // Behind the detail pane and the preview.
    static constexpr DynamicColor paneBackground =
        dynamicColor(0.07f, 0.10f, 0.16f, 0.90f, 0.95f, 0.96f, 0.98f, 0.95f);

    // Names, titles and document text.
    static constexpr DynamicColor primaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
    // Captions, paths, counts, icons and notices.
    static constexpr DynamicColor secondaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.60f, 0.29f, 0.35f, 0.45f, 0.72f);
    // What went wrong, in short: a search expression that does not compile. Pale red on the dark
    // appearance, dark red on the light one, so that it reads on both.
    static constexpr DynamicColor errorText =
        dynamicColor(1.0f, 0.45f, 0.42f, 1.0f, 0.75f, 0.11f, 0.10f, 1.0f);

    // Links, progress, focus rings and whatever is active.
    static constexpr DynamicColor accent = dynamicColor(0.28f, 0.60f, 1.0f, 1.0f, 0.23f, 0.50f, 0.95f, 1.0f);
    // What is finished: completed changes and their badges.
    static constexpr DynamicColor completedAccent =
        dynamicColor(0.20f, 0.87f, 0.52f, 1.0f, 0.15f, 0.75f, 0.43f, 0.98f);
    // The highlight of a selected row or tab: a tint of the accent that keeps its text readable.
    static constexpr DynamicColor selection =
        dynamicColor(0.22f, 0.45f, 0.85f, 0.28f, 0.23f, 0.50f, 0.95f, 0.18f);

    // One-pixel dividers and rules.
    static constexpr DynamicColor hairline =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.14f, 0.57f, 0.63f, 0.72f, 0.26f);
    // A faint fill that sets a region off its background: hovered buttons, code, unselected tabs.
    static constexpr DynamicColor subtleFill =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.30f, 0.36f, 0.47f, 0.08f);

    // A raised card and its outline.
    static constexpr DynamicColor cardFill =
        dynamicColor(0.08f, 0.12f, 0.18f, 1.0f, 0.98f, 0.98f, 0.99f, 0.98f);
    static constexpr DynamicColor cardBorder =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.16f, 0.58f, 0.64f, 0.72f, 0.24f);
};

} // namespace kestrune
