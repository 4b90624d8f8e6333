#pragma once

// The blocks of a Markdown text as the block diff compares them, found line by line without
// parsing: paragraphs (blank lines between them), ATX and setext headings, fenced code (blank
// lines inside it kept), each list item (its nested items are blocks of their own), block
// quotes, tables (header, delimiter row and rows), thematic breaks and HTML blocks. It follows
// the block starts of CommonMark for what planning documents hold; where it differs from the
// parser (an indented continuation after a blank line is a block of its own here, a lazy line
// is not told from a new paragraph) a change bar is only as wide as one block more or less,
// never in another place, since the preview places bars by line. Linear in the text's length,
// so a megabyte splits in about a millisecond, where parsing both texts would cost tens.

#include <QList>
#include <QStringView>

#include <cstddef>
#include <vector>

namespace kestrune {

class MarkdownBlockSplitter
{
public:
    enum class Kind
    {
        paragraph,
        heading,
        listItem,
        codeFence,
        table,
        quote,
        thematicBreak,
        html,
    };

    struct Line
    {
        qsizetype start = 0;
        qsizetype length = 0; // without its line break
    };

    struct Block
    {
        Kind kind = Kind::paragraph;
        int firstLine = 0;
        int lineCount = 0;
        size_t hash = 0; // of the block's text, its line breaks included
    };

    MarkdownBlockSplitter() = delete;

    // The lines of a text, split as LineBreaks ends them.
    static std::vector<Line> linesOf(QStringView text);
    static std::vector<Block> blocksOf(QStringView text, const std::vector<Line> &lines);
    // The text of a block, from its first line's start to its last line's end.
    static QStringView textOf(QStringView text, const std::vector<Line> &lines, const Block &block);
};

} // namespace kestrune
