#include "markdown/layout/nodes/layoutstacknode_p.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kestrune {

LayoutStackNode::LayoutStackNode(Axis axis, qreal spacing, BlockView::HorizontalAlignment horizontalAlignment,
                                 BlockView::VerticalAlignment verticalAlignment)
    : m_axis(axis), m_spacing(spacing), m_horizontalAlignment(horizontalAlignment),
      m_verticalAlignment(verticalAlignment)
{}

void LayoutStackNode::append(std::unique_ptr<LayoutNode> child)
{
    adopt(child.get());
    m_children.push_back(std::move(child));
}

QSizeF LayoutStackNode::doLayout(qreal width)
{
    return m_axis == Axis::vertical ? layoutVertically(width) : layoutHorizontally(width);
}

QSizeF LayoutStackNode::layoutVertically(qreal width)
{
    qreal stackWidth = 0;
    for (auto &child : m_children)
        stackWidth = std::max(stackWidth, child->layout(width).width());
    qreal y = 0;
    for (size_t i = 0; i < m_children.size(); ++i) {
        LayoutNode &child = *m_children[i];
        if (i > 0)
            y += m_spacing;
        const qreal free = stackWidth - child.size().width();
        qreal x = 0;
        if (m_horizontalAlignment == BlockView::HorizontalAlignment::center)
            x = free / 2;
        else if (m_horizontalAlignment == BlockView::HorizontalAlignment::trailing)
            x = free;
        child.setPosition({x, y});
        y += child.size().height();
    }
    return {stackWidth, y};
}

QSizeF LayoutStackNode::layoutHorizontally(qreal width)
{
    const size_t count = m_children.size();
    if (count == 0)
        return {0, 0};
    qreal spacing = m_spacing;
    const std::vector<qreal> allotted = allottedWidths(width, spacing);

    qreal height = 0;
    for (size_t i = 0; i < count; ++i) {
        const QSizeF size = m_children[i]->layout(allotted[i]);
        if (!m_children[i]->stretchesVertically())
            height = std::max(height, size.height());
    }
    qreal x = 0;
    for (size_t i = 0; i < count; ++i) {
        LayoutNode &child = *m_children[i];
        if (child.stretchesVertically())
            child.stretchTo(height);
        const qreal free = height - child.size().height();
        qreal y = 0;
        if (m_verticalAlignment == BlockView::VerticalAlignment::center)
            y = free / 2;
        else if (m_verticalAlignment == BlockView::VerticalAlignment::bottom)
            y = free;
        if (i > 0)
            x += spacing;
        child.setPosition({x, y});
        x += child.size().width();
    }
    return {x, height};
}

std::vector<qreal> LayoutStackNode::allottedWidths(qreal width, qreal &spacing) const
{
    const size_t count = m_children.size();
    std::vector<qreal> allotted(count, 0);
    if (std::isinf(width)) {
        for (size_t i = 0; i < count; ++i)
            allotted[i] = m_children[i]->idealWidth();
        return allotted;
    }
    // The least demanding children first; each takes its ideal width or an equal share.
    std::vector<qreal> ideal(count);
    for (size_t i = 0; i < count; ++i)
        ideal[i] = m_children[i]->idealWidth();
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return ideal[a] < ideal[b]; });
    const auto share = [&] {
        qreal remaining = std::max<qreal>(0, width - spacing * qreal(count - 1));
        size_t left = count;
        for (size_t index : order) {
            allotted[index] = std::min(ideal[index], remaining / qreal(left));
            remaining -= allotted[index];
            --left;
        }
    };
    share();
    // Deep nesting would leave a child no width at all: the spacing gives way first, down
    // to what the child needs or a readable width.
    if (count > 1 && spacing > 0) {
        qreal missing = 0;
        for (size_t i = 0; i < count; ++i) {
            if (allotted[i] < std::min(ideal[i], narrowestIndentedContent)) {
                const qreal needed =
                    std::min({ideal[i], narrowestIndentedContent, m_children[i]->minimumWidth()});
                missing += std::max<qreal>(0, needed - allotted[i]);
            }
        }
        if (missing > 0) {
            spacing = std::max<qreal>(0, spacing - missing / qreal(count - 1));
            share();
        }
    }
    return allotted;
}

qreal LayoutStackNode::minimumWidth()
{
    if (m_axis == Axis::vertical)
        return LayoutNode::minimumWidth();
    qreal sum = m_children.empty() ? 0 : m_spacing * qreal(m_children.size() - 1);
    for (auto &child : m_children)
        sum += child->minimumWidth();
    return sum;
}

qreal LayoutStackNode::firstBaseline() const
{
    for (const auto &child : m_children) {
        const qreal baseline = child->firstBaseline();
        if (baseline >= 0)
            return child->position().y() + baseline;
    }
    return -1;
}

bool LayoutStackNode::stretchesVertically() const
{
    return !m_children.empty() && std::all_of(m_children.begin(), m_children.end(),
                                              [](const auto &child) { return child->stretchesVertically(); });
}

void LayoutStackNode::stretchTo(qreal height)
{
    for (auto &child : m_children)
        child->stretchTo(height);
}

void LayoutStackNode::paint(LayoutPaintContext &context) const
{
    if (m_axis == Axis::horizontal || m_children.size() < 16) {
        paintChildren(context);
        return;
    }
    // Vertical children are in order of their tops: skip those above the clip.
    auto first = std::partition_point(m_children.begin(), m_children.end(), [&](const auto &child) {
        return child->frame().bottom() < context.clip.top();
    });
    for (auto it = first; it != m_children.end() && (*it)->position().y() <= context.clip.bottom(); ++it)
        paintChild(context, **it);
}

} // namespace kestrune
