#include "reading/blockdiff.h"

#include "reading/boundedsequencediff_p.h"
#include "reading/markdownblocksplitter_p.h"
#include "text/textlines.h"

#include <QHashFunctions>

#include <algorithm>
#include <optional>

namespace kestrune {

namespace {

using Splitter = MarkdownBlockSplitter;

// One text taken apart: its lines, their hashes and its blocks.
struct SplitText
{
    QStringView text;
    std::vector<Splitter::Line> lines;
    std::vector<size_t> lineHashes;
    std::vector<Splitter::Block> blocks;

    QStringView line(int index) const
    {
        const Splitter::Line &at = lines[size_t(index)];
        return text.sliced(at.start, at.length);
    }
    QStringView block(int index) const { return Splitter::textOf(text, lines, blocks[size_t(index)]); }
    LineRange rangeOf(int block) const
    {
        return {blocks[size_t(block)].firstLine, blocks[size_t(block)].lineCount};
    }
};

std::optional<SplitText> split(QStringView text, const BlockDiff::Limits &limits)
{
    SplitText split{text, Splitter::linesOf(text), {}, {}};
    split.lineHashes.reserve(split.lines.size());
    for (const Splitter::Line &line : split.lines) {
        if (line.length > limits.longestLine)
            return std::nullopt;
        split.lineHashes.push_back(qHash(text.sliced(line.start, line.length)));
    }
    split.blocks = Splitter::blocksOf(text, split.lines);
    return split;
}

// Turns one stretch of unmatched blocks into changes: a removed and an added block of the same
// kind in the same order are one block modified; a removed block stands before the next block
// of the new text.
void describeStretch(const SplitText &before, const SplitText &after, int oldStart, int oldEnd, int newStart,
                     int newEnd, QList<BlockChange> &into)
{
    constexpr int lookAhead = 8;
    auto removed = [&](int block, int anchorBlock) {
        const int anchor = anchorBlock < int(after.blocks.size())
                               ? after.blocks[size_t(anchorBlock)].firstLine
                               : int(after.lines.size());
        into.append(BlockChange{
            BlockChange::Kind::removed, {anchor, 0}, before.rangeOf(block), before.block(block).toString()});
    };
    int i = oldStart;
    int j = newStart;
    while (i < oldEnd && j < newEnd) {
        const auto newKind = after.blocks[size_t(j)].kind;
        if (before.blocks[size_t(i)].kind == newKind) {
            into.append(BlockChange{BlockChange::Kind::modified, after.rangeOf(j), before.rangeOf(i), {}});
            ++i;
            ++j;
            continue;
        }
        auto oldKindAhead = [&](int from, int end, MarkdownBlockSplitter::Kind kind) {
            for (int ahead = from; ahead < std::min(end, from + lookAhead); ++ahead)
                if (before.blocks[size_t(ahead)].kind == kind)
                    return true;
            return false;
        };
        auto newKindAhead = [&](int from, int end, MarkdownBlockSplitter::Kind kind) {
            for (int ahead = from; ahead < std::min(end, from + lookAhead); ++ahead)
                if (after.blocks[size_t(ahead)].kind == kind)
                    return true;
            return false;
        };
        if (oldKindAhead(i + 1, oldEnd, newKind)) {
            removed(i, j); // the new block pairs with a later old one
            ++i;
        } else if (newKindAhead(j + 1, newEnd, before.blocks[size_t(i)].kind)) {
            into.append(BlockChange{BlockChange::Kind::added, after.rangeOf(j), {}, {}});
            ++j;
        } else { // a block of one kind in the place of another
            removed(i, j);
            into.append(BlockChange{BlockChange::Kind::added, after.rangeOf(j), {}, {}});
            ++i;
            ++j;
        }
    }
    for (; i < oldEnd; ++i)
        removed(i, newEnd);
    for (; j < newEnd; ++j)
        into.append(BlockChange{BlockChange::Kind::added, after.rangeOf(j), {}, {}});
}

BlockDiffResult fallback(BlockDiffResult::Outcome outcome)
{
    BlockDiffResult result;
    result.outcome = outcome;
    return result;
}

} // namespace

BlockDiffResult BlockDiff::compare(QStringView oldText, QStringView newText, const Limits &limits)
{
    using Outcome = BlockDiffResult::Outcome;
    if (oldText == newText)
        return {};
    if (oldText.size() > limits.largestText || newText.size() > limits.largestText)
        return fallback(Outcome::textTooLarge);
    const std::optional<SplitText> before = split(oldText, limits);
    const std::optional<SplitText> after = split(newText, limits);
    if (!before || !after)
        return fallback(Outcome::lineTooLong);

    qint64 budget = limits.budget;
    const auto lineCounts = BoundedSequenceDiff::editCounts(
        int(before->lines.size()), int(after->lines.size()),
        [&](int o, int n) {
            return before->lineHashes[size_t(o)] == after->lineHashes[size_t(n)] &&
                   before->line(o) == after->line(n);
        },
        budget);
    if (!lineCounts)
        return fallback(Outcome::tooManyChanges);
    const auto pairs = BoundedSequenceDiff::matches(
        int(before->blocks.size()), int(after->blocks.size()),
        [&](int o, int n) {
            return before->blocks[size_t(o)].hash == after->blocks[size_t(n)].hash &&
                   before->block(o) == after->block(n);
        },
        budget);
    if (!pairs)
        return fallback(Outcome::tooManyChanges);

    BlockDiffResult result;
    result.outcome = Outcome::compared;
    result.removedLines = lineCounts->first;
    result.addedLines = lineCounts->second;
    int oldNext = 0;
    int newNext = 0;
    for (const auto &[oldBlock, newBlock] : *pairs) {
        describeStretch(*before, *after, oldNext, oldBlock, newNext, newBlock, result.changes);
        oldNext = oldBlock + 1;
        newNext = newBlock + 1;
    }
    describeStretch(*before, *after, oldNext, int(before->blocks.size()), newNext, int(after->blocks.size()),
                    result.changes);
    return result;
}

BlockDiffResult BlockDiff::compareBytes(QByteArrayView oldBytes, QByteArrayView newBytes,
                                        const Limits &limits)
{
    if (oldBytes == newBytes)
        return {};
    if (oldBytes.size() > limits.largestText * 4 || newBytes.size() > limits.largestText * 4)
        return fallback(BlockDiffResult::Outcome::textTooLarge);
    const std::optional<QString> oldText = TextLines::decodeUtf8(oldBytes.toByteArray());
    const std::optional<QString> newText = TextLines::decodeUtf8(newBytes.toByteArray());
    if (!oldText || !newText || oldText->contains(QChar(0)) || newText->contains(QChar(0)))
        return fallback(BlockDiffResult::Outcome::notText);
    return compare(*oldText, *newText, limits);
}

} // namespace kestrune
