#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The colours of the project outline.
struct SidebarColors
{
    static constexpr DynamicColor background =
        dynamicColor(0.08f, 0.12f, 0.18f, 0.96f, 0.94f, 0.95f, 0.97f, 0.98f);
    static constexpr DynamicColor icon = dynamicColor(1.0f, 1.0f, 1.0f, 0.6f, 0.29f, 0.35f, 0.45f, 0.72f);
    static constexpr DynamicColor emptyText = icon;
    static constexpr DynamicColor name = dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
    static constexpr DynamicColor draftBadge =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.56f, 0.3f, 0.36f, 0.45f, 0.72f);
    static constexpr DynamicColor activeBadge =
        dynamicColor(0.28f, 0.6f, 1.0f, 1.0f, 0.23f, 0.5f, 0.95f, 1.0f);
    static constexpr DynamicColor completedBadge =
        dynamicColor(0.2f, 0.87f, 0.52f, 1.0f, 0.15f, 0.75f, 0.43f, 0.98f);
    // The highlight of the selected row, a tint of the accent colour that keeps the name readable.
    static constexpr DynamicColor selection =
        dynamicColor(0.22f, 0.45f, 0.85f, 0.28f, 0.23f, 0.50f, 0.95f, 0.18f);
    // Secondary texts: a search hit's line number, the change a file belongs to, match counts.
    static constexpr DynamicColor secondaryText = icon;
    // Behind the matched text of a search hit: a warm tint that keeps the text readable.
    static constexpr DynamicColor searchMatch =
        dynamicColor(1.0f, 0.84f, 0.25f, 0.45f, 0.85f, 0.62f, 0.0f, 0.45f);
    // An invalid search expression's error.
    static constexpr DynamicColor errorText =
        dynamicColor(0.85f, 0.16f, 0.12f, 1.0f, 1.0f, 0.45f, 0.42f, 1.0f);
    // The ring around the current row while the outline has the keyboard focus: the accent.
    static constexpr DynamicColor focusRing = activeBadge;
};

} // namespace kestrune
