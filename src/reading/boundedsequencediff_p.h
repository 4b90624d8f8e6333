#pragma once

// The shortest edit script between two sequences (Myers' O((N+M)D) algorithm) within a budget of
// work, so that two texts of very many changes give up instead of stalling: each step along a
// diagonal and each cell of the kept trace costs one unit. Common starts and ends are matched
// first, for nothing, and cost no unit.

#include <QtGlobal>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kestrune {

class BoundedSequenceDiff
{
public:
    // Whether item `oldIndex` of the old sequence equals item `newIndex` of the new one.
    using Equal = std::function<bool(int oldIndex, int newIndex)>;

    BoundedSequenceDiff() = delete;

    // The pairs of equal items the script keeps, in order; nothing past the budget.
    static std::optional<std::vector<std::pair<int, int>>> matches(int oldCount, int newCount,
                                                                   const Equal &equal, qint64 &budget);
    // How many items the script removes and adds; nothing past the budget. Keeps no trace.
    static std::optional<std::pair<int, int>> editCounts(int oldCount, int newCount, const Equal &equal,
                                                         qint64 &budget);
};

} // namespace kestrune
