#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"

#include <memory>
#include <vector>

namespace kestrune {

// Items placed in rows, left to right: an item that does not fit in what is left of a row
// that already holds one starts the next row; a break ends the row. Items sit on the bottom of
// their row, which is as tall as its tallest item.
class LayoutFlowNode : public LayoutNode
{
public:
    LayoutFlowNode(qreal horizontalSpacing, qreal verticalSpacing);

    void appendItem(std::unique_ptr<LayoutNode> item);
    void appendBreak();

    void paint(LayoutPaintContext &context) const override;
    int childCount() const override { return int(m_children.size()); }
    LayoutNode *child(int index) const override { return m_children[size_t(index)]; }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return "flow"; }

private:
    std::vector<std::unique_ptr<LayoutNode>> m_items; // null for a break
    std::vector<LayoutNode *> m_children;
    qreal m_horizontalSpacing;
    qreal m_verticalSpacing;
};

} // namespace kestrune
