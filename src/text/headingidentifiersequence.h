#pragma once

#include <QHash>
#include <QString>

namespace kestrune {

// The identifiers of one document's headings in reading order, each unique as HTML heading
// anchors make them: the first heading of an identifier keeps it, the second gets "-1", the third
// "-2", and so on (past any identifier an earlier heading already has: "a", "a", "a-1" become "a",
// "a-1", "a-1-1"). The preview's anchors, its headings popup and outline, the requirement index
// and thus quick open all number a file's headings with it, so each names the heading it means.
class HeadingIdentifierSequence
{
public:
    // The identifier of the next heading, whose own identifier (HeadingIdentifier) is
    // `identifier`. An empty one stays empty and counts for nothing.
    QString next(const QString &identifier);

private:
    QHash<QString, int> m_occurrences; // every identifier given, with the suffixes made from it
};

} // namespace kestrune
