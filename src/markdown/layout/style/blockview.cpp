#include "markdown/layout/style/blockview.h"

#include "markdown/layout/style/blockviewnode_p.h"

namespace kestrune {

namespace {

BlockView make(BlockViewNode node)
{
    return BlockView(std::make_shared<const BlockViewNode>(std::move(node)));
}

const std::shared_ptr<const BlockViewNode> &emptyNode()
{
    static const auto empty = std::make_shared<const BlockViewNode>();
    return empty;
}

} // namespace

BlockView::BlockView() : m_node(emptyNode()) {}

BlockView::BlockView(std::shared_ptr<const BlockViewNode> node) : m_node(std::move(node))
{
    if (!m_node)
        m_node = emptyNode();
}

BlockView BlockView::wrapped(BlockViewNode modifier) const
{
    modifier.children = {*this};
    return make(std::move(modifier));
}

BlockView BlockView::vstack(QList<BlockView> children, HorizontalAlignment alignment, qreal spacing)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::vstack;
    node.children = std::move(children);
    node.horizontalAlignment = alignment;
    node.spacing = spacing;
    return make(std::move(node));
}

BlockView BlockView::hstack(QList<BlockView> children, VerticalAlignment alignment, qreal spacing)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::hstack;
    node.children = std::move(children);
    node.verticalAlignment = alignment;
    node.spacing = spacing;
    return make(std::move(node));
}

BlockView BlockView::divider(std::optional<DynamicColor> color)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::divider;
    node.color = color;
    return make(std::move(node));
}

BlockView BlockView::rectangle(const DynamicColor &fill, qreal cornerRadius)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::rectangle;
    node.color = fill;
    node.cornerRadius = cornerRadius;
    return make(std::move(node));
}

BlockView BlockView::symbol(const QString &name, qreal fraction, QFont::Weight weight)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::symbol;
    node.string = name;
    node.fraction = fraction;
    node.weight = weight;
    return make(std::move(node));
}

BlockView BlockView::text(const QString &text)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::text;
    node.string = text;
    return make(std::move(node));
}

BlockView BlockView::horizontalScroll(const BlockView &content, bool showsIndicators)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::horizontalScroll;
    node.showsIndicators = showsIndicators;
    return content.wrapped(std::move(node));
}

BlockView BlockView::textStyle(const TextStyle &style) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::textStyle;
    node.style = style;
    return wrapped(std::move(node));
}

BlockView BlockView::foregroundColor(const DynamicColor &color) const
{
    return textStyle(TextStyle::foregroundColor(color));
}

BlockView BlockView::unselectable() const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::unselectable;
    return wrapped(std::move(node));
}

BlockView BlockView::lineSpacing(Length spacing) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::lineSpacing;
    node.lineSpacing = spacing;
    return wrapped(std::move(node));
}

BlockView BlockView::padding(int edges, Length length) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::padding;
    node.edges = edges;
    node.padding = length;
    return wrapped(std::move(node));
}

BlockView BlockView::margin(std::optional<Length> top, std::optional<Length> bottom) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::margin;
    node.marginTop = top;
    node.marginBottom = bottom;
    return wrapped(std::move(node));
}

BlockView BlockView::background(const DynamicColor &fill, qreal cornerRadius) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::background;
    node.color = fill;
    node.cornerRadius = cornerRadius;
    return wrapped(std::move(node));
}

BlockView BlockView::clip(qreal cornerRadius) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::clip;
    node.cornerRadius = cornerRadius;
    return wrapped(std::move(node));
}

BlockView BlockView::frame(std::optional<Length> width, std::optional<Length> height,
                           HorizontalAlignment alignment) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::frame;
    node.frameWidth = width;
    node.frameHeight = height;
    node.horizontalAlignment = alignment;
    return wrapped(std::move(node));
}

BlockView BlockView::frame(Length minWidth, HorizontalAlignment alignment) const
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::frame;
    node.minWidth = minWidth;
    node.horizontalAlignment = alignment;
    return wrapped(std::move(node));
}

namespace EngineViews {

BlockView inlineText(const QList<InlineNode> &inlines, const QString &identifier)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::inlineText;
    node.inlines = inlines;
    node.string = identifier;
    return make(std::move(node));
}

BlockView codeText(const QString &code, const QList<CodeHighlightRange> &highlights)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::codeText;
    node.string = code;
    node.highlights = highlights;
    return make(std::move(node));
}

BlockView plainText(const QString &text)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::plainText;
    node.string = text;
    return make(std::move(node));
}

BlockView blockSequence(const QList<BlockNode> &blocks)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::blockSequence;
    node.blocks = blocks;
    return make(std::move(node));
}

BlockView list(const BlockNode &list)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::list;
    node.blocks = {list};
    return make(std::move(node));
}

BlockView table(const BlockNode &table)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::table;
    node.blocks = {table};
    return make(std::move(node));
}

BlockView imageBlock(const RawImageData &image)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::imageBlock;
    node.image = image;
    return make(std::move(node));
}

BlockView imageFlow(const QList<BlockViewNode::FlowItem> &items)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::imageFlow;
    node.flowItems = items;
    return make(std::move(node));
}

BlockView footnote(const BlockNode &definition)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::footnote;
    node.blocks = {definition};
    return make(std::move(node));
}

BlockView decoration(const BlockView &content)
{
    BlockViewNode node;
    node.kind = BlockViewNode::Kind::decoration;
    node.children = {content};
    return make(std::move(node));
}

} // namespace EngineViews

} // namespace kestrune
