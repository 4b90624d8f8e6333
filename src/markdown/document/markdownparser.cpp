#include "markdown/document/markdownparser.h"

#include "markdown/document/cmarkarena_p.h"
#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdownconverter_p.h"

namespace kestrune {

QList<BlockNode> MarkdownParser::parse(const QString &markdown)
{
    return parseUtf8(markdown.toUtf8());
}

QList<BlockNode> MarkdownParser::parseUtf8(QByteArrayView markdown)
{
    // The parser and its tree live in the arena and are dropped with it.
    const CmarkArena arena;
    cmark_parser *parser = Cmark::newParser(arena.allocator());
    // The whole text in one piece: the parser sees no artificial chunk boundary.
    cmark_parser_feed(parser, markdown.data(), std::size_t(markdown.size()));
    return MarkdownConverter::convertDocument(cmark_parser_finish(parser));
}

} // namespace kestrune
