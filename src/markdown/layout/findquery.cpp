#include "markdown/layout/findquery.h"

namespace kestrune {

namespace {

template <typename Visit> void forEachMatch(const FindQuery &query, QStringView haystack, Visit visit)
{
    if (query.text.isEmpty())
        return;
    for (qsizetype at = haystack.indexOf(query.text, 0, query.caseSensitivity); at >= 0;
         at = haystack.indexOf(query.text, at + query.text.size(), query.caseSensitivity))
        visit(at);
}

} // namespace

QList<qsizetype> FindQuery::matchStarts(QStringView haystack) const
{
    QList<qsizetype> starts;
    forEachMatch(*this, haystack, [&starts](qsizetype at) { starts.append(at); });
    return starts;
}

qsizetype FindQuery::matchCount(QStringView haystack) const
{
    qsizetype count = 0;
    forEachMatch(*this, haystack, [&count](qsizetype) { ++count; });
    return count;
}

} // namespace kestrune
