#pragma once

#include <QtGlobal>

#include <algorithm>
#include <optional>

namespace kestrune {

// The space a block asks for above and below it, in points. Margins declared inside one block
// combine side by side: the larger of the values present wins.
struct BlockMargin
{
    std::optional<qreal> top;
    std::optional<qreal> bottom;

    BlockMargin combined(const BlockMargin &other) const
    {
        return {larger(top, other.top), larger(bottom, other.bottom)};
    }

    static std::optional<qreal> larger(std::optional<qreal> left, std::optional<qreal> right)
    {
        if (left && right)
            return std::max(*left, *right);
        return left ? left : right;
    }

    friend bool operator==(const BlockMargin &, const BlockMargin &) = default;
};

} // namespace kestrune
