#pragma once

#include "markdown/document/inlinenode.h"
#include "markdown/layout/style/inlinetextstyles.h"
#include "markdown/layout/style/softbreakmode.h"
#include "markdown/layout/text/styledtext.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QUrl>

#include <optional>

namespace kestrune {

// Renders a list of inlines (a paragraph's, a heading's, a table cell's) into one styled text
// that wraps as a whole.
//
// Nested emphasis, strong, strike-through and link styles accumulate on the attributes in
// force and are undone after their children. A raw "<br>" tag gives a line feed and swallows
// the whitespace that follows it; raw "<ins>" and "<del>" tags mark the text up to their closing
// tag as inserted or deleted (within the same inline list); a soft break is a space (or a line feed in
// lineBreak mode). A footnote reference is its number in superscript digits, linking to its note
// and marking the place the note links back to (StyledText::anchors). Images appear only when `images`
// already holds them under their source string; one listed in `failedImages` appears as the failed-image
// symbol and its alternative text (its source when it has none) in the secondary text colour, so the reader
// sees that something is missing.
class InlineTextRenderer
{
public:
    struct Options
    {
        std::optional<QUrl> baseUrl;
        InlineTextStyles styles;
        QHash<QString, QImage> images;
        QSet<QString> failedImages;
        // By source: failed web images that were not asked for, and the server each is on.
        QHash<QString, QString> withheldImageHosts;
        QImage failedImageSymbol;
        SoftBreakMode softBreakMode = SoftBreakMode::space;
    };

    static StyledText render(const QList<InlineNode> &inlines, const Options &options,
                             const TextAttributes &attributes);

    // The link attribute for a destination: parsed as a URL relative to the base URL, none when
    // it does not parse.
    static std::optional<QUrl> linkUrl(const QString &destination, const std::optional<QUrl> &baseUrl);

    // What stands for an image that cannot be shown: the symbol, a space and the text, in the
    // secondary text colour over `attributes`.
    static void appendFailedImage(StyledText &result, const QString &source, const QImage &symbol,
                                  const QString &text, TextAttributes attributes);
    // The text of a web image that was not asked for: its alternative text, if any, and its server.
    static QString withheldImageText(const QString &alt, const QString &host);
    // The symbol drawn for a failed image, one line of text in `properties` high.
    static QImage failedImageSymbol(const FontProperties &properties, qreal devicePixelRatio);

    // A footnote reference is its note's number in superscript digits, a link to "#fn-label"
    // and the place "#fnref-label" leads back to.
    static QString superscriptNumber(int number);
    static QString footnoteIdentifier(const QString &label);
    static QString footnoteReferenceIdentifier(const QString &label);

private:
    InlineTextRenderer(const Options &options, const TextAttributes &attributes);

    void renderTopLevel(const InlineNode &node);
    void renderNode(const InlineNode &node);
    void renderChildren(const QList<InlineNode> &children, const TextStyle &style);
    void appendText(const QString &text);
    void appendLineFeed();
    void appendFootnoteReference(const Inline::FootnoteReference &reference);
    bool isLineBreakTag(const QString &html) const;
    // Opens or closes an inserted or deleted mark; false for any other tag.
    bool applyMarkTag(const QString &html);

    const Options &m_options;
    StyledText m_result;
    TextAttributes m_attributes;
    bool m_shouldSkipNextWhitespace = false;
    // The marks open, each with the attributes in force before it.
    QList<std::pair<QString, TextAttributes>> m_openMarks;
};

} // namespace kestrune
