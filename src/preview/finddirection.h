#pragma once

namespace kestrune {

// Which way a find moves from its current match: on to the next one, or back to the one before.
// Both wrap around the ends of the text.
enum class FindDirection
{
    forward,
    backward
};

} // namespace kestrune
