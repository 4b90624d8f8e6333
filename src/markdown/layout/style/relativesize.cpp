#include "markdown/layout/style/relativesize.h"

#include "markdown/layout/style/fontproperties.h"

#include <cmath>

namespace kestrune {

qreal RelativeSize::points(const std::optional<FontProperties> &properties) const
{
    const FontProperties fallback;
    const FontProperties &font = properties ? *properties : fallback;
    // std::round rounds halves away from zero.
    const qreal base = unit == Unit::em ? std::round(font.size * font.scale) : font.size;
    return std::round(base * value);
}

} // namespace kestrune
