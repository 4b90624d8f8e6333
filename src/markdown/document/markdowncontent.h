#pragma once

#include "markdown/document/blocknode.h"

#include <QList>
#include <QString>

namespace kestrune {

// A parsed document, as the views of the engine receive it.
class MarkdownContent
{
public:
    MarkdownContent() = default;
    explicit MarkdownContent(QList<BlockNode> blocks);
    // Parses `markdown` with MarkdownParser.
    explicit MarkdownContent(const QString &markdown);

    QList<BlockNode> blocks;

    // The document rendered back through cmark-gfm: CommonMark text and plain
    // text are not wrapped; HTML leaves raw HTML out and drops unsafe links.
    QString renderCommonMark() const;
    QString renderPlainText() const;
    QString renderHtml() const;
    // What the code blocks of the HTML hold: their text as it is, or their text coloured by
    // language in `<span class="code-KIND">` runs (see HighlightedCodeHtml).
    enum class HtmlCode
    {
        plain,
        coloured,
    };
    QString renderHtml(HtmlCode code) const;

    friend bool operator==(const MarkdownContent &, const MarkdownContent &) = default;
};

size_t qHash(const MarkdownContent &content, size_t seed = 0) noexcept;

} // namespace kestrune
