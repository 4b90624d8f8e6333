#pragma once

#include "markdown/document/inlinenode.h"
#include "markdown/layout/style/blockviewnode_p.h"
#include "markdown/layout/style/rawimagedata.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrune {

// What the layout builder asks of a run of inlines before it picks the view of a paragraph or
// a heading. They read the model only, so they hold no state.
class InlineQueries
{
public:
    // The text without its markup: code spans count as their code, breaks as a space, and
    // images as their alternative text; raw HTML is left out.
    static QString plainText(const QList<InlineNode> &inlines);
    // The text as the page shows it: plainText, except that an image is a picture (the page's
    // placeholder character), not its alternative text.
    static QString shownText(const QList<InlineNode> &inlines);
    // The identifier of a heading: its plain text split at every character that is not a
    // letter or digit, the pieces lower-cased and joined with "-".
    static QString headingIdentifier(const QList<InlineNode> &inlines);
    // The image of a paragraph that holds nothing else (possibly inside a link).
    static std::optional<RawImageData> soleImage(const QList<InlineNode> &inlines);
    // The items of a paragraph made only of images, whitespace and breaks; none otherwise.
    static std::optional<QList<BlockViewNode::FlowItem>> imageFlowItems(const QList<InlineNode> &inlines);
    // The sources of every image at any depth, in document order.
    static QStringList imageSources(const QList<InlineNode> &inlines);
    // The alternative text of every image at any depth, in document order.
    static QStringList imageAlternatives(const QList<InlineNode> &inlines);

private:
    enum class ImageText
    {
        alternative,
        placeholder,
    };
    static void appendPlainText(const QList<InlineNode> &inlines, QString &text, ImageText images);
    // Calls `visit` with every image at any depth, in document order.
    static void forEachImage(const QList<InlineNode> &inlines,
                             const std::function<void(const Inline::Image &)> &visit);
    // The image a node is, alone or as the only content of a link.
    static std::optional<RawImageData> imageOf(const InlineNode &node);
    static bool isWhitespaceText(const InlineNode &node);
};

} // namespace kestrune
