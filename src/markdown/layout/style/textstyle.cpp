#include "markdown/layout/style/textstyle.h"

namespace kestrune {

TextStyle::TextStyle(Property property) : m_properties{std::move(property)} {}

TextStyle TextStyle::fontSetter(std::function<void(FontProperties &)> setter)
{
    return TextStyle([setter = std::move(setter)](TextAttributes &attributes) {
        if (attributes.fontProperties)
            setter(*attributes.fontProperties);
    });
}

TextStyle TextStyle::fontProperties(const FontProperties &properties)
{
    return TextStyle([properties](TextAttributes &attributes) { attributes.fontProperties = properties; });
}

TextStyle TextStyle::fontFamily(const FontProperties::Family &family)
{
    return fontSetter([family](FontProperties &font) { font.family = family; });
}

TextStyle TextStyle::fontFamilyVariant(FontProperties::FamilyVariant variant)
{
    return fontSetter([variant](FontProperties &font) { font.familyVariant = variant; });
}

TextStyle TextStyle::fontCapsVariant(FontProperties::CapsVariant variant)
{
    return fontSetter([variant](FontProperties &font) { font.capsVariant = variant; });
}

TextStyle TextStyle::fontDigitVariant(FontProperties::DigitVariant variant)
{
    return fontSetter([variant](FontProperties &font) { font.digitVariant = variant; });
}

TextStyle TextStyle::fontStyle(FontProperties::Style style)
{
    return fontSetter([style](FontProperties &font) { font.style = style; });
}

TextStyle TextStyle::fontWeight(QFont::Weight weight)
{
    return fontSetter([weight](FontProperties &font) { font.weight = weight; });
}

TextStyle TextStyle::fontWidth(std::optional<int> stretch)
{
    return fontSetter([stretch](FontProperties &font) { font.widthStorage = stretch; });
}

TextStyle TextStyle::fontSize(qreal points)
{
    return fontSetter([points](FontProperties &font) {
        font.size = points;
        font.scale = 1;
    });
}

TextStyle TextStyle::fontSize(RelativeSize size)
{
    return fontSetter([size](FontProperties &font) {
        if (size.unit == RelativeSize::Unit::em)
            font.scale *= size.value;
        else
            font.scale = size.value;
    });
}

TextStyle TextStyle::foregroundColor(std::optional<DynamicColor> color)
{
    return TextStyle([color](TextAttributes &attributes) { attributes.foregroundColor = color; });
}

TextStyle TextStyle::backgroundColor(std::optional<DynamicColor> color)
{
    return TextStyle([color](TextAttributes &attributes) { attributes.backgroundColor = color; });
}

TextStyle TextStyle::strikethroughStyle(std::optional<TextLineStyle> style)
{
    return TextStyle([style](TextAttributes &attributes) { attributes.strikethroughStyle = style; });
}

TextStyle TextStyle::underlineStyle(std::optional<TextLineStyle> style)
{
    return TextStyle([style](TextAttributes &attributes) { attributes.underlineStyle = style; });
}

TextStyle TextStyle::textKerning(std::optional<qreal> kerning)
{
    return TextStyle([kerning](TextAttributes &attributes) { attributes.kerning = kerning; });
}

TextStyle TextStyle::textTracking(std::optional<qreal> tracking)
{
    return TextStyle([tracking](TextAttributes &attributes) { attributes.tracking = tracking; });
}

void TextStyle::apply(TextAttributes &attributes) const
{
    for (const Property &property : m_properties)
        property(attributes);
}

TextStyle TextStyle::operator+(const TextStyle &other) const
{
    TextStyle combined = *this;
    combined += other;
    return combined;
}

TextStyle &TextStyle::operator+=(const TextStyle &other)
{
    m_properties += other.m_properties;
    return *this;
}

} // namespace kestrune
