#pragma once

#include "markdown/layout/style/blockstyle.h"

namespace kestrune {

// The list markers the engine offers.
class MarkerStyles
{
public:
    MarkerStyles() = delete;

    // "circle.fill" at level 1, "circle" at level 2, "square.fill" deeper, at a third of the
    // text size.
    static BlockStyle<ListMarkerConfiguration> discCircleSquare();
    // "8.", "9.", "10." with monospaced digits, at least 1.5 em wide, trailing-aligned.
    static BlockStyle<ListMarkerConfiguration> decimal();
    static BlockStyle<ListMarkerConfiguration> upperRoman();
    static BlockStyle<ListMarkerConfiguration> lowerRoman();
    static BlockStyle<ListMarkerConfiguration> dash();
    // "checkmark.square.fill" when completed, "square" otherwise.
    static BlockStyle<TaskListMarkerConfiguration> checkbox();

    // The symbol of a bullet at a list level.
    static QString bulletSymbol(int listLevel);
    // Roman numerals of 1 to 3999; other numbers in decimal.
    static QString romanNumeral(int number);
};

} // namespace kestrune
