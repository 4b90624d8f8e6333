#pragma once

#include "markdown/layout/style/textstyle.h"

namespace kestrune {

// The styles of the nested inline kinds, taken from the theme in force.
struct InlineTextStyles
{
    TextStyle code;
    TextStyle emphasis;
    TextStyle strong;
    TextStyle strikethrough;
    TextStyle link;
    TextStyle inserted;
    TextStyle deleted;
};

} // namespace kestrune
