#include "search/filesearchresult.h"

#include "text/linebreaks.h"

namespace kestrune {

FileSearchResult FileSearchResult::search(const SearchableFilePointer &file, const SearchPattern &pattern,
                                          int rank, qsizetype hitLimit)
{
    FileSearchResult result;
    result.file = file;
    result.rank = rank;
    if (!file)
        return result;
    const QStringView text = file->text;
    // Lines are counted on the way from one hit to the next, each character once (a file of one
    // endless line with many hits costs no more than any other).
    int line = 0;
    qsizetype lineStart = 0;
    qsizetype scanned = 0;
    pattern.forEachMatch(text, [&](const TextMatch &match) {
        ++result.matchCount;
        if (result.hits.size() >= hitLimit)
            return true;
        for (; scanned < match.start; ++scanned) {
            if (LineBreaks::endsLineAt(text, scanned)) {
                ++line;
                lineStart = scanned + 1;
            }
        }
        result.hits.append(SearchHit{line, lineStart, match.start - lineStart, match.length});
        return true;
    });
    return result;
}

QStringView FileSearchResult::lineText(const SearchHit &hit) const
{
    if (!file)
        return {};
    const QStringView text = file->text;
    const qsizetype start = std::min(hit.lineStart, text.size());
    return text.sliced(start, LineBreaks::lineEnd(text, start) - start);
}

} // namespace kestrune
