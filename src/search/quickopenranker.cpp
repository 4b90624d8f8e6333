#include "search/quickopenranker.h"

#include "search/subsequencematcher.h"

#include <algorithm>

namespace kestrune {

void QuickOpenRanker::setEntries(QList<QuickOpenEntry> entries)
{
    m_entries = std::move(entries);
    m_hasLast = false;
    m_lastMatches.clear();
}

bool QuickOpenRanker::isRequirementQuery(QStringView query)
{
    return query.trimmed().startsWith(requirementPrefix);
}

QStringView QuickOpenRanker::matchedPart(QStringView query)
{
    query = query.trimmed();
    return isRequirementQuery(query) ? query.sliced(1) : query;
}

QList<QuickOpenRanker::Result> QuickOpenRanker::rank(QStringView query, qsizetype limit)
{
    const bool requirements = isRequirementQuery(query);
    const SubsequenceMatcher matcher(matchedPart(query));
    const bool narrows =
        m_hasLast && m_lastWasRequirements == requirements && matcher.query().startsWith(m_lastQuery);
    QList<Result> matches;
    const auto consider = [&](qsizetype index) {
        const QuickOpenEntry &entry = m_entries.at(index);
        if ((entry.kind == QuickOpenEntry::Kind::requirement) != requirements)
            return;
        if (const std::optional<int> score = matcher.score(entry.matchText))
            matches.append({index, *score});
    };
    if (narrows) {
        for (const Result &previous : std::as_const(m_lastMatches))
            consider(previous.entry);
    } else {
        for (qsizetype index = 0; index < m_entries.size(); ++index)
            consider(index);
    }
    m_lastQuery = matcher.query();
    m_lastWasRequirements = requirements;
    m_hasLast = true;
    m_lastMatches = matches;

    const auto better = [this](const Result &left, const Result &right) {
        if (left.score != right.score)
            return left.score > right.score;
        const QuickOpenEntry &a = m_entries.at(left.entry);
        const QuickOpenEntry &b = m_entries.at(right.entry);
        if (a.isArchived != b.isArchived)
            return !a.isArchived;
        if (a.matchText.size() != b.matchText.size())
            return a.matchText.size() < b.matchText.size();
        return left.entry < right.entry;
    };
    const qsizetype kept = std::clamp<qsizetype>(limit, 0, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + kept, matches.end(), better);
    matches.resize(kept);
    return matches;
}

} // namespace kestrune
