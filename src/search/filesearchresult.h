#pragma once

#include "search/searchablefile.h"
#include "text/searchpattern.h"

#include <QList>
#include <QString>

namespace kestrune {

// One match of a search in a file: its line, counted from 0, where that line starts in the file's
// text, and the match within the line, in UTF-16 code units.
struct SearchHit
{
    int line = 0;
    qsizetype lineStart = 0;
    qsizetype column = 0;
    qsizetype length = 0;

    friend bool operator==(const SearchHit &, const SearchHit &) = default;
};

// The matches of a search in one file. Every match is counted; by default only the first
// defaultHitLimit are kept, so that a word found a hundred thousand times in one document does not
// fill the window's memory.
struct FileSearchResult
{
    SearchableFilePointer file;
    // The file's place in the order the search was given its files (the rank of its group).
    int rank = 0;
    QList<SearchHit> hits;
    qsizetype matchCount = 0;

    static constexpr qsizetype defaultHitLimit = 1000;

    // The matches of the pattern in the file's text; no hits when there are none.
    static FileSearchResult search(const SearchableFilePointer &file, const SearchPattern &pattern,
                                   int rank = 0, qsizetype hitLimit = defaultHitLimit);

    // The text of a hit's line, without its line break.
    QStringView lineText(const SearchHit &hit) const;
};

} // namespace kestrune
