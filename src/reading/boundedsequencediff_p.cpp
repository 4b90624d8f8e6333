#include "reading/boundedsequencediff_p.h"

#include <algorithm>

namespace kestrune {

namespace {

// The stretch left after the common start and end are matched.
struct Middle
{
    int start = 0;  // items matched at the start
    int oldEnd = 0; // end of the old stretch
    int newEnd = 0; // end of the new stretch
};

Middle middleOf(int oldCount, int newCount, const BoundedSequenceDiff::Equal &equal)
{
    Middle middle{0, oldCount, newCount};
    while (middle.start < oldCount && middle.start < newCount && equal(middle.start, middle.start))
        ++middle.start;
    while (middle.oldEnd > middle.start && middle.newEnd > middle.start &&
           equal(middle.oldEnd - 1, middle.newEnd - 1)) {
        --middle.oldEnd;
        --middle.newEnd;
    }
    return middle;
}

// Myers' forward search over the middle stretch. Calls `keep(d, v)` after each round d with the
// furthest x reached on every diagonal k (v[k + offset]); returns the edit distance, or nothing
// past the budget.
template <typename Keep>
std::optional<int> search(const Middle &middle, const BoundedSequenceDiff::Equal &equal, qint64 &budget,
                          std::vector<int> &v, Keep &&keep)
{
    const int n = middle.oldEnd - middle.start;
    const int m = middle.newEnd - middle.start;
    const qsizetype offset = qsizetype(n) + m + 1;
    v.assign(size_t(2 * offset + 1), 0);
    auto cell = [&v, offset](int k) -> int & { return v[size_t(offset + k)]; };
    for (int d = 0; d <= n + m; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && cell(k - 1) < cell(k + 1))) ? cell(k + 1) : cell(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && equal(middle.start + x, middle.start + y)) {
                ++x;
                ++y;
                --budget;
            }
            cell(k) = x;
            if (x >= n && y >= m) {
                keep(d, v);
                return d;
            }
        }
        budget -= 2 * d + 1;
        if (budget < 0)
            return std::nullopt;
        keep(d, v);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::pair<int, int>>>
BoundedSequenceDiff::matches(int oldCount, int newCount, const Equal &equal, qint64 &budget)
{
    const Middle middle = middleOf(oldCount, newCount, equal);
    const int n = middle.oldEnd - middle.start;
    const int m = middle.newEnd - middle.start;
    const int offset = n + m + 1;
    // The diagonals -d..d of each round, to walk back along.
    std::vector<std::vector<int>> trace;
    std::vector<int> v;
    const std::optional<int> distance =
        search(middle, equal, budget, v, [&](int d, const std::vector<int> &row) {
            trace.emplace_back(row.begin() + (offset - d), row.begin() + (offset + d + 1));
        });
    if (!distance)
        return std::nullopt;

    std::vector<std::pair<int, int>> pairs;
    int x = n;
    int y = m;
    for (int d = *distance; d > 0; --d) {
        const std::vector<int> &previous = trace[size_t(d - 1)];
        auto at = [&](int k) { return previous[size_t(k + d - 1)]; };
        const int k = x - y;
        const int previousK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const int previousX = at(previousK);
        const int previousY = previousX - previousK;
        const int startX = previousK == k + 1 ? previousX : previousX + 1;
        while (x > startX) { // the diagonal run after the step
            --x;
            --y;
            pairs.emplace_back(middle.start + x, middle.start + y);
        }
        x = previousX;
        y = previousY;
    }
    while (x > 0 && y > 0) {
        --x;
        --y;
        pairs.emplace_back(middle.start + x, middle.start + y);
    }
    for (int i = middle.start - 1; i >= 0; --i)
        pairs.emplace_back(i, i);
    std::reverse(pairs.begin(), pairs.end());
    for (int i = 0; i < oldCount - middle.oldEnd; ++i)
        pairs.emplace_back(middle.oldEnd + i, middle.newEnd + i);
    return pairs;
}

std::optional<std::pair<int, int>> BoundedSequenceDiff::editCounts(int oldCount, int newCount,
                                                                   const Equal &equal, qint64 &budget)
{
    const Middle middle = middleOf(oldCount, newCount, equal);
    std::vector<int> v;
    const std::optional<int> distance =
        search(middle, equal, budget, v, [](int, const std::vector<int> &) {});
    if (!distance)
        return std::nullopt;
    const int n = middle.oldEnd - middle.start;
    const int m = middle.newEnd - middle.start;
    // d = removed + added and m - n = added - removed.
    return std::pair{(*distance - (m - n)) / 2, (*distance + (m - n)) / 2};
}

} // namespace kestrune
