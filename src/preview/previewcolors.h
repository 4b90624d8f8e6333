#pragma once

#include "ui/dynamiccolor.h"

namespace kestrune {

// The colours of the preview pane and of the rendered document: dark quadruple first, light second.
struct PreviewColors
{
    static constexpr DynamicColor paneBackground =
        dynamicColor(0.07f, 0.1f, 0.16f, 0.9f, 0.95f, 0.96f, 0.98f, 0.95f);
    // File name, source text and document text.
    static constexpr DynamicColor primaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
    // Path, loading label, empty notice, level-6 headings and quoted text.
    static constexpr DynamicColor secondaryText =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.6f, 0.29f, 0.35f, 0.45f, 0.72f);
    // What went wrong, in short: an expression of the find bar that does not compile.
    static constexpr DynamicColor errorText =
        dynamicColor(1.0f, 0.45f, 0.42f, 1.0f, 0.75f, 0.11f, 0.1f, 1.0f);
    // Progress indicator tint and links.
    static constexpr DynamicColor accent = dynamicColor(0.28f, 0.6f, 1.0f, 1.0f, 0.23f, 0.5f, 0.95f, 1.0f);
    static constexpr DynamicColor codeBackground =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.08f, 0.3f, 0.36f, 0.47f, 0.08f);
    // Heading rules, the block-quote bar and thematic breaks.
    static constexpr DynamicColor rule = dynamicColor(1.0f, 1.0f, 1.0f, 0.14f, 0.57f, 0.63f, 0.72f, 0.26f);

    // The desktop's own divider between the header and the content.
    static constexpr DynamicColor divider = dynamicColor(1.0f, 1.0f, 1.0f, 0.1f, 0.0f, 0.0f, 0.0f, 0.1f);
    // The mode switch: its track, the raised selected segment and that segment's outline.
    static constexpr DynamicColor switchTrack = dynamicColor(1.0f, 1.0f, 1.0f, 0.1f, 0.0f, 0.0f, 0.0f, 0.06f);
    static constexpr DynamicColor switchSelectedSegment =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.24f, 1.0f, 1.0f, 1.0f, 1.0f);
    static constexpr DynamicColor switchSegmentOutline =
        dynamicColor(0.0f, 0.0f, 0.0f, 0.3f, 0.0f, 0.0f, 0.0f, 0.12f);
};

} // namespace kestrune
