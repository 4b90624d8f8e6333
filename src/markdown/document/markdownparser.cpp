#include "markdown/document/markdownparser.h"

#include "markdown/document/cmarkarena_p.h"
#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdownconverter_p.h"

#include <algorithm>
#include <limits>

#include <unistd.h>

namespace kestrune {

QList<BlockNode> MarkdownParser::parse(const QString &markdown)
{
    return parseUtf8(markdown.toUtf8());
}

QList<BlockNode> MarkdownParser::parse(const QString &markdown, int firstLine)
{
    const QByteArray bytes = markdown.toUtf8();
    return parseUtf8(bytes, memoryBudget(bytes.size()), firstLine);
}

std::size_t MarkdownParser::memoryBudget(qsizetype utf8Size)
{
    static const std::size_t physicalMemory = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        return pages > 0 && pageSize > 0 ? std::size_t(pages) * std::size_t(pageSize) : std::size_t(0);
    }();
    return memoryBudget(utf8Size, physicalMemory);
}

std::size_t MarkdownParser::memoryBudget(qsizetype utf8Size, std::size_t physicalMemory)
{
    // A parse that grows linearly with its text fits; one whose tree grows faster than its text
    // (a table padding thousands of rows to thousands of columns) runs into the bound soon. The
    // preview parses two texts at once and builds a model and a page from each tree, so one
    // parse takes at most a quarter of the machine's memory.
    const std::size_t size = std::size_t(std::max<qsizetype>(0, utf8Size));
    const std::size_t linear = size > (std::numeric_limits<std::size_t>::max() - budgetBase) / budgetPerByte
                                   ? std::numeric_limits<std::size_t>::max()
                                   : budgetBase + budgetPerByte * size;
    return physicalMemory == 0 ? linear : std::min(linear, physicalMemory / 4);
}

QList<BlockNode> MarkdownParser::parseUtf8(QByteArrayView markdown)
{
    return parseUtf8(markdown, memoryBudget(markdown.size()));
}

QList<BlockNode> MarkdownParser::parseUtf8(QByteArrayView markdown, std::size_t memoryBudget)
{
    return parseUtf8(markdown, memoryBudget, 0);
}

QList<BlockNode> MarkdownParser::parseUtf8(QByteArrayView markdown, std::size_t memoryBudget, int firstLine)
{
    // The parser and its tree live in the arena and are dropped with it.
    const CmarkArena arena(memoryBudget);
    cmark_parser *parser = Cmark::newParser(arena.allocator());
    // The whole text in one piece: the parser sees no artificial chunk boundary.
    cmark_parser_feed(parser, markdown.data(), std::size_t(markdown.size()));
    return MarkdownConverter::convertDocument(cmark_parser_finish(parser), firstLine);
}

} // namespace kestrune
