#pragma once

#include "highlight/codetoken.h"

#include "ui/dynamiccolor.h"

#include <array>

namespace kestrune {

// The colour of each kind of code token, a light and a dark one in each DynamicColor, resolved
// while painting like every colour of a theme. Only colours: a highlighted block has exactly the
// size of the same block drawn plain.
struct CodeTokenPalette
{
    std::array<DynamicColor, codeTokenKindCount> colors;

    constexpr const DynamicColor &color(CodeTokenKind kind) const { return colors[size_t(kind)]; }
};

} // namespace kestrune
