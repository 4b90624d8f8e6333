#pragma once

namespace kestrune {

// Alignment of one table column. The raw values are the parser's alignment
// characters: NUL, 'l', 'c' and 'r'.
enum class RawTableColumnAlignment : char
{
    none = '\0',
    left = 'l',
    center = 'c',
    right = 'r',
};

// The alignment for a parser alignment character; any other character is `none`.
constexpr RawTableColumnAlignment tableColumnAlignmentFromRawValue(char rawValue)
{
    switch (rawValue) {
    case 'l':
        return RawTableColumnAlignment::left;
    case 'c':
        return RawTableColumnAlignment::center;
    case 'r':
        return RawTableColumnAlignment::right;
    default:
        return RawTableColumnAlignment::none;
    }
}

constexpr char tableColumnAlignmentRawValue(RawTableColumnAlignment alignment)
{
    return static_cast<char>(alignment);
}

} // namespace kestrune
