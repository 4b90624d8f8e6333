#include "review/closestname.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace kestrune {

qsizetype editDistance(QStringView left, QStringView right)
{
    // One row of the distance table at a time: row[j] is the distance between the characters of
    // `left` so far and the first j characters of `right`.
    std::vector<qsizetype> row(size_t(right.size() + 1));
    std::iota(row.begin(), row.end(), qsizetype(0));
    for (qsizetype i = 1; i <= left.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= right.size(); ++j) {
            const qsizetype substitution = diagonal + (left[i - 1] == right[j - 1] ? 0 : 1);
            diagonal = row[size_t(j)];
            row[size_t(j)] = std::min({substitution, row[size_t(j)] + 1, row[size_t(j - 1)] + 1});
        }
    }
    return row.back();
}

std::optional<QString> closestName(QStringView name, const QStringList &candidates)
{
    const QString folded = name.toString().toCaseFolded();
    std::optional<QString> best;
    qsizetype bestDistance = 0;
    for (const QString &candidate : candidates) {
        const qsizetype distance = editDistance(folded, candidate.toCaseFolded());
        if (!best || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    if (!best || bestDistance * 3 > std::max(name.size(), best->size()))
        return std::nullopt;
    return best;
}

} // namespace kestrune
