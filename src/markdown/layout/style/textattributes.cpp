#include "markdown/layout/style/textattributes.h"

namespace kestrune {

namespace {

bool sameRgba(DynamicColor::Rgba left, DynamicColor::Rgba right)
{
    return left.red == right.red && left.green == right.green && left.blue == right.blue &&
           left.alpha == right.alpha;
}

} // namespace

bool sameColor(const std::optional<DynamicColor> &left, const std::optional<DynamicColor> &right)
{
    if (!left || !right)
        return !left && !right;
    return sameRgba(left->dark(), right->dark()) && sameRgba(left->light(), right->light());
}

bool operator==(const TextLineStyle &left, const TextLineStyle &right)
{
    return left.pattern == right.pattern && sameColor(left.color, right.color);
}

TextAttributes TextAttributes::documentDefault()
{
    TextAttributes attributes;
    attributes.fontProperties = FontProperties();
    return attributes;
}

bool operator==(const TextAttributes &left, const TextAttributes &right)
{
    return left.fontProperties == right.fontProperties &&
           sameColor(left.foregroundColor, right.foregroundColor) &&
           sameColor(left.backgroundColor, right.backgroundColor) &&
           left.strikethroughStyle == right.strikethroughStyle &&
           left.underlineStyle == right.underlineStyle && left.kerning == right.kerning &&
           left.tracking == right.tracking && left.link == right.link;
}

} // namespace kestrune
