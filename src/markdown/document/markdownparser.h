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

    // What a parse of so many bytes of text may take: far more than any real document of that
    // length needs, far less than a runaway one would.
    static std::size_t memoryBudget(qsizetype utf8Size);

private:
    static QList<BlockNode> parseUtf8(QByteArrayView markdown, std::size_t memoryBudget, int firstLine);
};

} // namespace kestrune
