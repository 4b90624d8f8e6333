#include "markdown/markdownparser.h"

#include "markdown/cmarkgfm_p.h"
#include "markdown/markdownconverter_p.h"

QList<BlockNode> MarkdownParser::parse(const QString &markdown)
{
    return parseUtf8(markdown.toUtf8());
}

QList<BlockNode> MarkdownParser::parseUtf8(QByteArrayView markdown)
{
    Cmark::ParserPtr parser = Cmark::newParser();
    // The whole text in one piece: the parser sees no artificial chunk boundary.
    cmark_parser_feed(parser.get(), markdown.data(), std::size_t(markdown.size()));
    const Cmark::NodePtr document(cmark_parser_finish(parser.get()));
    return MarkdownConverter::convertDocument(document.get());
}
