#include "markdown/document/markdowncontent.h"

#include "markdown/document/cmarkdocumentbuilder_p.h"
#include "markdown/document/highlightedcodehtml_p.h"
#include "markdown/document/markdownparser.h"

#include <QHashFunctions>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

MarkdownContent::MarkdownContent(QList<BlockNode> blocks) : blocks(std::move(blocks)) {}

MarkdownContent::MarkdownContent(const QString &markdown) : blocks(MarkdownParser::parse(markdown)) {}

QString MarkdownContent::renderCommonMark() const
{
    return CmarkDocumentBuilder::render(blocks, CmarkDocumentBuilder::Format::commonMark);
}

QString MarkdownContent::renderPlainText() const
{
    return CmarkDocumentBuilder::render(blocks, CmarkDocumentBuilder::Format::plainText);
}

QString MarkdownContent::renderHtml() const
{
    return CmarkDocumentBuilder::render(blocks, CmarkDocumentBuilder::Format::html);
}

QString MarkdownContent::renderHtml(HtmlCode code) const
{
    const QString html = renderHtml();
    return code == HtmlCode::coloured ? HighlightedCodeHtml::apply(html) : html;
}

size_t qHash(const MarkdownContent &content, size_t seed) noexcept
{
    return qHash(content.blocks, seed);
}

} // namespace kestrune
