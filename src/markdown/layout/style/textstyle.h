#pragma once

#include "markdown/layout/style/fontproperties.h"
#include "markdown/layout/style/relativesize.h"
#include "markdown/layout/style/textattributes.h"

#include <QList>

#include <functional>
#include <optional>

namespace kestrune {

// An operation on the character attributes: a list of properties applied in the order written.
// Styles are immutable, implicitly shared values; `+` composes them, the left one first, so the
// right one wins where both set the same attribute:
//
//     TextStyle heading = TextStyle::fontWeight(QFont::Bold) + TextStyle::fontSize(RelativeSize::em(1.85));
//     TextAttributes attributes = heading.applied(enclosing);
//
// The font-property setters change the font properties only when the attributes carry some.
class TextStyle
{
public:
    TextStyle() = default; // the empty style: changes nothing

    static TextStyle empty() { return {}; }
    static TextStyle fontProperties(const FontProperties &properties);
    static TextStyle fontFamily(const FontProperties::Family &family);
    static TextStyle fontFamilyVariant(FontProperties::FamilyVariant variant);
    static TextStyle fontCapsVariant(FontProperties::CapsVariant variant);
    static TextStyle fontDigitVariant(FontProperties::DigitVariant variant);
    static TextStyle fontStyle(FontProperties::Style style);
    static TextStyle fontWeight(QFont::Weight weight);
    static TextStyle fontWidth(std::optional<int> stretch);
    // An absolute size in points: sets the size and resets the scale to 1.
    static TextStyle fontSize(qreal points);
    // em multiplies the scale, rem sets it.
    static TextStyle fontSize(RelativeSize size);
    // Absent values remove the attribute.
    static TextStyle foregroundColor(std::optional<DynamicColor> color);
    static TextStyle backgroundColor(std::optional<DynamicColor> color);
    static TextStyle strikethroughStyle(std::optional<TextLineStyle> style);
    static TextStyle underlineStyle(std::optional<TextLineStyle> style);
    static TextStyle textKerning(std::optional<qreal> kerning);
    static TextStyle textTracking(std::optional<qreal> tracking);

    bool isEmpty() const { return m_properties.isEmpty(); }

    void apply(TextAttributes &attributes) const;
    TextAttributes applied(TextAttributes attributes) const
    {
        apply(attributes);
        return attributes;
    }

    TextStyle operator+(const TextStyle &other) const;
    TextStyle &operator+=(const TextStyle &other);

private:
    using Property = std::function<void(TextAttributes &)>;
    explicit TextStyle(Property property);
    static TextStyle fontSetter(std::function<void(FontProperties &)> setter);

    QList<Property> m_properties;
};

} // namespace kestrune
