#pragma once

#include "ui/themecolors.h"

namespace kestrune {

// The colours of the preview pane and of the rendered document: the shared ones under the names of
// what they paint here, and the few only the preview uses (dark quadruple first, light second).
struct PreviewColors
{
    static constexpr DynamicColor paneBackground = ThemeColors::paneBackground;
    // File name, source text and document text.
    static constexpr DynamicColor primaryText = ThemeColors::primaryText;
    // Path, loading label, empty notice, level-6 headings and quoted text.
    static constexpr DynamicColor secondaryText = ThemeColors::secondaryText;
    // What went wrong, in short: an expression of the find bar that does not compile.
    static constexpr DynamicColor errorText = ThemeColors::errorText;
    // Progress indicator tint and links.
    static constexpr DynamicColor accent = ThemeColors::accent;
    static constexpr DynamicColor codeBackground = ThemeColors::subtleFill;
    // Heading rules, the block-quote bar and thematic breaks.
    static constexpr DynamicColor rule = ThemeColors::hairline;

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
