#include "text/plainstringorder.h"

#include <algorithm>

namespace kestrune {

namespace {

// Maps UTF-16 code units so that their order is the order of the scalar values they encode:
// surrogates (supplementary characters) move above U+E000..U+FFFF.
char16_t scalarOrderWeight(char16_t unit)
{
    if (unit >= 0xE000)
        return char16_t(unit - 0x800);
    if (unit >= 0xD800)
        return char16_t(unit + 0x2000);
    return unit;
}

} // namespace

bool plainStringLess(QStringView left, QStringView right)
{
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t a = left[i].unicode();
        const char16_t b = right[i].unicode();
        if (a != b)
            return scalarOrderWeight(a) < scalarOrderWeight(b);
    }
    return left.size() < right.size();
}

} // namespace kestrune
