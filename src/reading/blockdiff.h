#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace kestrune {

// Lines of a text, counted from 0 as the document model counts them (BlockNode::sourceLine).
struct LineRange
{
    int first = 0;
    int count = 0;

    friend bool operator==(const LineRange &, const LineRange &) = default;
};

// One block that differs between an earlier and a later Markdown text.
struct BlockChange
{
    enum class Kind
    {
        added,
        modified,
        removed,
    };

    Kind kind = Kind::modified;
    // Where the block is in the new text. A removed block has no lines there: `first` is the line
    // it stood before (the first line of the block that follows it, or the new text's line count
    // when it stood last) and `count` is 0.
    LineRange lines;
    // Where the block was in the old text; empty for an added block.
    LineRange oldLines;
    // The removed block's text, for a marker to show what was there.
    QString removedText;

    friend bool operator==(const BlockChange &, const BlockChange &) = default;
};

struct BlockDiffResult
{
    enum class Outcome
    {
        identical,
        compared,
        // The texts differ, but comparing them block by block would cost too much: the file is
        // "changed" without block marks.
        tooManyChanges,
        lineTooLong,
        textTooLarge,
        notText, // not UTF-8, or holding NUL characters
    };

    Outcome outcome = Outcome::identical;
    QList<BlockChange> changes; // in the order of the new text
    // Lines added and removed, for the catch-up list (identical and compared only).
    int addedLines = 0;
    int removedLines = 0;

    bool hasBlockMarks() const { return outcome == Outcome::identical || outcome == Outcome::compared; }

    friend bool operator==(const BlockDiffResult &, const BlockDiffResult &) = default;
};

// Compares two Markdown texts block by block (paragraphs, headings, list items, fenced code,
// tables, quotes: markdownblocksplitter_p.h) and reports the blocks added, modified and removed,
// and how many lines were added and removed. Knows nothing of the store: the preview compares a
// file with the text seen, the history of a file compares two versions of it. Any thread.
//
// The cost is bounded: texts of more than `largestText` characters, a line longer than
// `longestLine`, or more differences than `budget` units of work can follow (about a unit per
// line or block compared plus the square of the differences) give an outcome without block marks
// instead. A megabyte against its seen text with a few hundred changed lines takes milliseconds.
class BlockDiff
{
public:
    struct Limits
    {
        qsizetype largestText = qsizetype(8) << 20; // what the preview still renders
        qsizetype longestLine = 64 * 1024;
        qint64 budget = 4'000'000;
    };

    BlockDiff() = delete;

    static BlockDiffResult compare(QStringView oldText, QStringView newText, const Limits &limits);
    static BlockDiffResult compare(QStringView oldText, QStringView newText)
    {
        return compare(oldText, newText, {});
    }
    // The same for the bytes of two files: UTF-8 (a leading byte-order mark dropped), or notText.
    static BlockDiffResult compareBytes(QByteArrayView oldBytes, QByteArrayView newBytes,
                                        const Limits &limits);
    static BlockDiffResult compareBytes(QByteArrayView oldBytes, QByteArrayView newBytes)
    {
        return compareBytes(oldBytes, newBytes, {});
    }
};

} // namespace kestrune
