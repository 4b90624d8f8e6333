#include "ui/deltabadgestyle.h"

#include "project/deltaspectype.h"
#include "ui/standardcolors.h"

namespace kestrune {

namespace {

constexpr float fillOpacity = 0.3f;

} // namespace

QString DeltaBadgeStyle::text(DeltaSpecType type)
{
    return rawValue(type);
}

DynamicColor DeltaBadgeStyle::color(DeltaSpecType type)
{
    switch (type) {
    case DeltaSpecType::added:
        return StandardColors::green;
    case DeltaSpecType::modified:
        return StandardColors::orange;
    case DeltaSpecType::removed:
        return StandardColors::red;
    }
    return StandardColors::clear;
}

DynamicColor DeltaBadgeStyle::fill(DeltaSpecType type)
{
    return color(type).withOpacity(fillOpacity);
}

} // namespace kestrune
