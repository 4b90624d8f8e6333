#pragma once

#include "markdown/document/blocknode.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstddef>

namespace kestrune {

// Turns Markdown text into the document model through cmark-gfm, with the
// "autolink", "strikethrough", "tagfilter", "tasklist" and "table" extensions.
//
// Every text parses; constructs the model has no case for are dropped. The
// parser's tree is walked without recursion, and nesting deeper than the bounds
// below is flattened rather than kept: a container block (block quote or list)
// or container inline (emphasis, strong, strike-through, link, image) that would
// sit deeper is replaced by its content, so no text is lost and hostile input
// such as 100,000 nested block quotes cannot exhaust the stack of any code that
// walks the model recursively.
class MarkdownParser
{
public:
    // Container blocks around a block, at most.
    static constexpr int maxBlockDepth = 64;
    // Container inlines around an inline within one paragraph, heading or cell, at most.
    static constexpr int maxInlineDepth = 64;

    // Throws std::bad_alloc when the parse would take more than memoryBudget() for the text, or
    // more than the system has; nothing is left allocated then.
    static QList<BlockNode> parse(const QString &markdown);
    // A piece of a longer text that starts on line `firstLine` of it (counted from 0): the
    // blocks' source lines are lines of the whole text.
    static QList<BlockNode> parse(const QString &markdown, int firstLine);
    // The same for text that is already UTF-8; an invalid sequence comes out as U+FFFD.
    static QList<BlockNode> parseUtf8(QByteArrayView markdown);
    static QList<BlockNode> parseUtf8(QByteArrayView markdown, std::size_t memoryBudget);

    // What a parse of so many bytes of text may take on this machine: more than any document of
    // that length needs, far less than a runaway one would, and at most a quarter of the
    // machine's physical memory.
    static std::size_t memoryBudget(qsizetype utf8Size);
    // The same on a machine of so much physical memory (0: unknown, no bound).
    static std::size_t memoryBudget(qsizetype utf8Size, std::size_t physicalMemory);
    // The memory that grows with the text: the worst peaks measured of the parser's tree per
    // byte of text, with a third to spare (ragged tables under a wide header peak near 240
    // bytes per byte, dense inline markup near 100, long lists near 45, deep nesting under 5).
    static constexpr std::size_t budgetPerByte = 320;
    // What any parse may take, however short its text.
    static constexpr std::size_t budgetBase = std::size_t(256) << 20;

private:
    static QList<BlockNode> parseUtf8(QByteArrayView markdown, std::size_t memoryBudget, int firstLine);
};

} // namespace kestrune
