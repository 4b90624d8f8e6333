#include "markdown/document/markdownparser.h"

#include "markdown/document/cmarkarena_p.h"
#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdownconverter_p.h"

#include <algorithm>

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
    // The parser's tree of a typical document takes some twenty times its text.
    return (std::size_t(256) << 20) + 64 * std::size_t(std::max<qsizetype>(0, utf8Size));
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
