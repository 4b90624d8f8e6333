#include "markdown/layout/nodes/layoutsequencenode_p.h"

#include <algorithm>

namespace kestrune {

LayoutSequenceNode::LayoutSequenceNode(bool tightSpacing) : m_tightSpacing(tightSpacing) {}

void LayoutSequenceNode::append(std::unique_ptr<LayoutNode> block, BlockMargin margin)
{
    adopt(block.get());
    m_blocks.push_back({std::move(block), margin});
}

qreal LayoutSequenceNode::spacing(const BlockMargin *previous, const BlockMargin &current, bool tightSpacing)
{
    if (!previous)
        return 0;
    const std::optional<qreal> bottom = tightSpacing ? std::nullopt : previous->bottom;
    return BlockMargin::larger(current.top, bottom).value_or(0);
}

QSizeF LayoutSequenceNode::doLayout(qreal width)
{
    qreal y = 0;
    qreal widest = 0;
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        Block &block = m_blocks[i];
        y += spacing(i ? &m_blocks[i - 1].margin : nullptr, block.margin, m_tightSpacing);
        const QSizeF size = block.node->layout(width);
        block.node->setPosition({0, y});
        y += size.height();
        widest = std::max(widest, size.width());
    }
    return {widest, y};
}

qreal LayoutSequenceNode::firstBaseline() const
{
    for (const Block &block : m_blocks) {
        const qreal baseline = block.node->firstBaseline();
        if (baseline >= 0)
            return block.node->position().y() + baseline;
    }
    return -1;
}

void LayoutSequenceNode::paint(LayoutPaintContext &context) const
{
    auto first = std::partition_point(m_blocks.begin(), m_blocks.end(), [&](const Block &block) {
        return block.node->frame().bottom() < context.clip.top();
    });
    for (auto it = first; it != m_blocks.end() && it->node->position().y() <= context.clip.bottom(); ++it)
        paintChild(context, *it->node);
}

void LayoutSequenceNode::hitTest(QPointF point, LayoutHit &hit)
{
    auto it = std::partition_point(m_blocks.begin(), m_blocks.end(), [&](const Block &block) {
        return block.node->frame().bottom() <= point.y();
    });
    if (it != m_blocks.end() && it->node->frame().contains(point))
        it->node->hitTest(point - it->node->position(), hit);
}

} // namespace kestrune
