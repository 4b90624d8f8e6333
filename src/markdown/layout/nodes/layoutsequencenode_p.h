#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/blockmargin.h"

#include <memory>
#include <vector>

namespace kestrune {

// Blocks stacked vertically with the margin rule: the first block has nothing above it; every
// later one has the larger of its own top margin and the bottom margin of the block before it
// (the latter only without tight spacing). The list of a list's items follows the same rule.
class LayoutSequenceNode : public LayoutNode
{
public:
    explicit LayoutSequenceNode(bool tightSpacing);

    void append(std::unique_ptr<LayoutNode> block, BlockMargin margin);

    // The space above block `index` by the margin rule.
    static qreal spacing(const BlockMargin *previous, const BlockMargin &current, bool tightSpacing);

    qreal firstBaseline() const override;
    void paint(LayoutPaintContext &context) const override;
    void hitTest(QPointF point, LayoutHit &hit) override;
    int childCount() const override { return int(m_blocks.size()); }
    LayoutNode *child(int index) const override { return m_blocks[size_t(index)].node.get(); }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return m_tightSpacing ? "sequence tight" : "sequence"; }

private:
    struct Block
    {
        std::unique_ptr<LayoutNode> node;
        BlockMargin margin;
    };

    std::vector<Block> m_blocks;
    bool m_tightSpacing;
};

} // namespace kestrune
