#include "reading/catchuplinecount.h"

#include "project/regularfilereader.h"
#include "reading/blockdiff.h"
#include "text/textlines.h"

namespace kestrune {

std::optional<int> CatchUpLineCount::lineCountOf(const QByteArray &bytes)
{
    const std::optional<QString> text = TextLines::decodeUtf8(bytes);
    if (!text || text->contains(QChar(0)))
        return std::nullopt;
    if (text->isEmpty())
        return 0;
    const QList<QStringView> lines = TextLines::splitLines(*text);
    // A text ending with a line break ends with an empty line that holds nothing.
    return int(lines.size()) - (lines.constLast().isEmpty() ? 1 : 0);
}

CatchUpLineCount CatchUpLineCount::of(const CatchUpEntry &entry, const std::optional<QByteArray> &seen,
                                      qint64 largestFile)
{
    if (entry.change == CatchUpEntry::Change::removed) {
        const std::optional<int> lines =
            seen && seen->size() <= largestFile ? lineCountOf(*seen) : std::nullopt;
        return lines ? counted(0, *lines) : uncounted();
    }
    if (entry.change == CatchUpEntry::Change::changed && (!seen || seen->size() > largestFile))
        return uncounted();
    if (!entry.url.isLocalFile())
        return uncounted();
    const RegularFileReader::Content now = RegularFileReader::read(entry.url.toLocalFile(), largestFile);
    if (now.error != FileReadError::none)
        return uncounted();
    if (entry.change == CatchUpEntry::Change::added) {
        const std::optional<int> lines = lineCountOf(now.bytes);
        return lines ? counted(*lines, 0) : uncounted();
    }
    const BlockDiffResult diff = BlockDiff::compareBytes(*seen, now.bytes);
    return diff.hasBlockMarks() ? counted(diff.addedLines, diff.removedLines) : uncounted();
}

} // namespace kestrune
