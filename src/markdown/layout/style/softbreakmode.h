#pragma once

namespace kestrune {

// How a soft break inside a paragraph is drawn: as a space (the default) or as a line break.
enum class SoftBreakMode
{
    space,
    lineBreak
};

} // namespace kestrune
