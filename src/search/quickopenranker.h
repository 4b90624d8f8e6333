#pragma once

#include "search/quickopenentry.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace kestrune {

// Ranks quick open's entries for a query, best first. A query is matched against each entry's
// matchText by SubsequenceMatcher; ties go to current entries before archived ones, then to the
// shorter text, then to the earlier entry. A query starting with "#" looks for requirements only,
// by their names; any other looks for files, changes and specifications. An empty query (or a
// lone "#") lists them all in that order.
//
// A query that extends the one before it (a letter typed) is matched against the entries the
// one before matched only.
class QuickOpenRanker
{
public:
    struct Result
    {
        qsizetype entry = 0; // index into entries()
        int score = 0;
        friend bool operator==(const Result &, const Result &) = default;
    };

    static constexpr QChar requirementPrefix = QLatin1Char('#');

    void setEntries(QList<QuickOpenEntry> entries);
    const QList<QuickOpenEntry> &entries() const { return m_entries; }

    // The best `limit` entries for the query, best first.
    QList<Result> rank(QStringView query, qsizetype limit);

    // Whether the query looks for requirements; the part matched against names.
    static bool isRequirementQuery(QStringView query);
    static QStringView matchedPart(QStringView query);

private:
    QList<QuickOpenEntry> m_entries;
    // The matches of the latest query (all of them, before the limit), for the next letter.
    QString m_lastQuery;
    bool m_lastWasRequirements = false;
    bool m_hasLast = false;
    QList<Result> m_lastMatches;
};

} // namespace kestrune
