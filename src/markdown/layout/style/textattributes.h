#pragma once

#include "markdown/layout/style/fontproperties.h"
#include "markdown/layout/style/textlinestyle.h"

#include "ui/dynamiccolor.h"

#include <QUrl>

#include <optional>

namespace kestrune {

// The character attributes in force while inline content is rendered. Each is optional;
// colours stay appearance-dependent and are resolved only when the text is painted.
struct TextAttributes
{
    std::optional<FontProperties> fontProperties;
    std::optional<DynamicColor> foregroundColor;
    std::optional<DynamicColor> backgroundColor;
    std::optional<TextLineStyle> strikethroughStyle;
    std::optional<TextLineStyle> underlineStyle;
    std::optional<qreal> kerning;  // extra space after each character, in points
    std::optional<qreal> tracking; // the same, added to the kerning
    std::optional<QUrl> link;

    // Where a document starts: the default font properties at 13 points.
    static TextAttributes documentDefault();

    // The font properties in force, or the defaults.
    FontProperties fontPropertiesOrDefault() const { return fontProperties.value_or(FontProperties()); }

    friend bool operator==(const TextAttributes &left, const TextAttributes &right);
};

bool sameColor(const std::optional<DynamicColor> &left, const std::optional<DynamicColor> &right);

} // namespace kestrune
