#pragma once

#include "ui/dynamiccolor.h"

#include <optional>

namespace kestrune {

// The line of an underline or strike-through: its pattern and, optionally, its own colour
// (the text colour otherwise).
struct TextLineStyle
{
    enum class Pattern
    {
        solid,
        dot,
        dash,
        dashDot,
        dashDotDot
    };

    Pattern pattern = Pattern::solid;
    std::optional<DynamicColor> color;

    static TextLineStyle single() { return {}; }

    friend bool operator==(const TextLineStyle &left, const TextLineStyle &right);
};

} // namespace kestrune
