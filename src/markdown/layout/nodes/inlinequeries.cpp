#include "markdown/layout/nodes/inlinequeries_p.h"

#include "markdown/layout/text/styledtext.h"
#include "text/headingidentifier.h"

namespace kestrune {

QString InlineQueries::plainText(const QList<InlineNode> &inlines)
{
    QString text;
    appendPlainText(inlines, text, ImageText::alternative);
    return text;
}

QString InlineQueries::shownText(const QList<InlineNode> &inlines)
{
    QString text;
    appendPlainText(inlines, text, ImageText::placeholder);
    return text;
}

QString InlineQueries::headingIdentifier(const QList<InlineNode> &inlines)
{
    return HeadingIdentifier::fromPlainText(plainText(inlines));
}

std::optional<RawImageData> InlineQueries::soleImage(const QList<InlineNode> &inlines)
{
    if (inlines.size() != 1)
        return std::nullopt;
    return imageOf(inlines.first());
}

std::optional<QList<BlockViewNode::FlowItem>> InlineQueries::imageFlowItems(const QList<InlineNode> &inlines)
{
    QList<BlockViewNode::FlowItem> items;
    bool hasImage = false;
    for (const InlineNode &node : inlines) {
        if (const std::optional<RawImageData> image = imageOf(node)) {
            items.append(*image);
            hasImage = true;
        } else if (node.kind() == InlineNode::Kind::lineBreak) {
            items.append(BlockViewNode::FlowBreak{});
        } else if (node.kind() == InlineNode::Kind::softBreak || isWhitespaceText(node)) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!hasImage)
        return std::nullopt;
    return items;
}

QStringList InlineQueries::imageSources(const QList<InlineNode> &inlines)
{
    QStringList sources;
    forEachImage(inlines, [&sources](const Inline::Image &image) { sources.append(image.source); });
    return sources;
}

void InlineQueries::appendPlainText(const QList<InlineNode> &inlines, QString &text, ImageText images)
{
    for (const InlineNode &node : inlines) {
        if (const auto *t = node.as<Inline::Text>())
            text += t->text;
        else if (const auto *code = node.as<Inline::Code>())
            text += code->code;
        else if (node.kind() == InlineNode::Kind::softBreak || node.kind() == InlineNode::Kind::lineBreak)
            text += QLatin1Char(' ');
        else if (images == ImageText::placeholder && node.kind() == InlineNode::Kind::image)
            text += QChar(StyledText::imagePlaceholder);
        else if (const QList<InlineNode> *children = node.children())
            appendPlainText(*children, text, images);
    }
}

void InlineQueries::forEachImage(const QList<InlineNode> &inlines,
                                 const std::function<void(const Inline::Image &)> &visit)
{
    for (const InlineNode &node : inlines) {
        if (const auto *image = node.as<Inline::Image>())
            visit(*image);
        else if (const QList<InlineNode> *children = node.children())
            forEachImage(*children, visit);
    }
}

QStringList InlineQueries::imageAlternatives(const QList<InlineNode> &inlines)
{
    QStringList alternatives;
    forEachImage(inlines, [&alternatives](const Inline::Image &image) {
        alternatives.append(plainText(image.children));
    });
    return alternatives;
}

std::optional<RawImageData> InlineQueries::imageOf(const InlineNode &node)
{
    std::optional<QString> destination;
    const InlineNode *target = &node;
    if (const auto *link = node.as<Inline::Link>()) {
        if (link->children.size() != 1)
            return std::nullopt;
        destination = link->destination;
        target = &link->children.first();
    }
    const auto *image = target->as<Inline::Image>();
    if (!image)
        return std::nullopt;
    return RawImageData{image->source, plainText(image->children), destination};
}

bool InlineQueries::isWhitespaceText(const InlineNode &node)
{
    const auto *text = node.as<Inline::Text>();
    return text && text->text.trimmed().isEmpty();
}

} // namespace kestrune
