#include "markdown/layout/nodes/layoutflownode_p.h"

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutFlowNode::LayoutFlowNode(qreal horizontalSpacing, qreal verticalSpacing)
    : m_horizontalSpacing(horizontalSpacing), m_verticalSpacing(verticalSpacing)
{}

void LayoutFlowNode::appendItem(std::unique_ptr<LayoutNode> item)
{
    adopt(item.get());
    m_children.push_back(item.get());
    m_items.push_back(std::move(item));
}

void LayoutFlowNode::appendBreak()
{
    m_items.push_back(nullptr);
}

QSizeF LayoutFlowNode::doLayout(qreal width)
{
    struct Row
    {
        std::vector<LayoutNode *> items;
        qreal width = 0;
        qreal height = 0;
    };
    std::vector<Row> rows(1);
    bool rowEnded = false;
    for (const auto &item : m_items) {
        Row &row = rows.back();
        if (!item) {
            rowEnded = true;
            continue;
        }
        const QSizeF size = item->layout(width);
        const qreal needed =
            row.items.empty() ? size.width() : row.width + m_horizontalSpacing + size.width();
        if (!row.items.empty() && (rowEnded || needed > width))
            rows.emplace_back();
        rowEnded = false;
        Row &target = rows.back();
        if (!target.items.empty())
            target.width += m_horizontalSpacing;
        item->setPosition({target.width, 0});
        target.width += size.width();
        target.height = std::max(target.height, size.height());
        target.items.push_back(item.get());
    }

    qreal y = 0;
    qreal widest = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row &row = rows[i];
        if (i > 0)
            y += m_verticalSpacing;
        for (LayoutNode *item : row.items)
            item->setPosition({item->position().x(), y + row.height - item->size().height()});
        y += row.height;
        widest = std::max(widest, row.width);
    }
    return {widest, y};
}

void LayoutFlowNode::paint(LayoutPaintContext &context) const
{
    paintChildren(context);
}

} // namespace kestrune
