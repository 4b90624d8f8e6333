#pragma once

namespace kestrune {

// Where a find stands: the current match (1 for the first of the text, 0 for none yet) among
// how many, and whether the whole text is counted.
struct FindStatus
{
    int current = 0;
    int total = 0;
    bool complete = true;
    friend bool operator==(const FindStatus &, const FindStatus &) = default;
};

} // namespace kestrune
