#pragma once

#include "markdown/layout/textstyle.h"

// The styles of the nested inline kinds, taken from the theme in force.
struct InlineTextStyles
{
    TextStyle code;
    TextStyle emphasis;
    TextStyle strong;
    TextStyle strikethrough;
    TextStyle link;
};
