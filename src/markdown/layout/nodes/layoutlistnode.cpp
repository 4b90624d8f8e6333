#include "markdown/layout/nodes/layoutlistnode_p.h"

#include "markdown/layout/nodes/layoutsequencenode_p.h"

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutListNode::LayoutListNode(bool sharedMarkerWidth, bool tightSpacing, bool nested)
    : m_sharedMarkerWidth(sharedMarkerWidth), m_tightSpacing(tightSpacing), m_nested(nested)
{}

void LayoutListNode::append(std::unique_ptr<LayoutNode> marker, std::unique_ptr<LayoutNode> content,
                            BlockMargin margin)
{
    adopt(marker.get());
    adopt(content.get());
    m_items.push_back({std::move(marker), std::move(content), margin});
}

LayoutNode *LayoutListNode::child(int index) const
{
    const Item &item = m_items[size_t(index / 2)];
    return index % 2 ? item.content.get() : item.marker.get();
}

QSizeF LayoutListNode::doLayout(qreal width)
{
    qreal column = 0;
    for (Item &item : m_items)
        column = std::max(column, item.marker->layout(unbounded).width());

    qreal y = 0;
    qreal widest = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item &item = m_items[i];
        y += LayoutSequenceNode::spacing(i ? &m_items[i - 1].margin : nullptr, item.margin, m_tightSpacing);
        const qreal markerWidth = item.marker->size().width();
        const qreal markerColumn = m_sharedMarkerWidth ? column : markerWidth;
        qreal contentX = markerColumn + markerSpacing;
        if (m_nested && !std::isinf(width) && width - contentX < narrowestIndentedContent)
            contentX = std::max<qreal>(0, width - narrowestIndentedContent);
        const QSizeF content =
            item.content->layout(std::isinf(width) ? width : std::max<qreal>(0, width - contentX));

        qreal markerY = 0;
        qreal contentY = 0;
        const qreal contentBaseline = item.content->firstBaseline();
        const qreal markerBaseline = item.marker->firstBaseline();
        if (contentBaseline >= 0 && markerBaseline >= 0) {
            markerY = contentBaseline - markerBaseline;
            if (markerY < 0) {
                contentY = -markerY;
                markerY = 0;
            }
        }
        item.marker->setPosition({contentX - markerSpacing - markerWidth, y + markerY});
        item.content->setPosition({contentX, y + contentY});
        item.top = y;
        item.height = std::max(contentY + content.height(), markerY + item.marker->size().height());
        y += item.height;
        widest = std::max(widest, contentX + content.width());
    }
    return {widest, y};
}

qreal LayoutListNode::minimumWidth()
{
    qreal column = 0;
    qreal content = 0;
    for (Item &item : m_items) {
        column = std::max(column, item.marker->idealWidth());
        content = std::max(content, item.content->minimumWidth());
    }
    return m_items.empty() ? 0 : column + markerSpacing + content;
}

qreal LayoutListNode::firstBaseline() const
{
    if (m_items.empty())
        return -1;
    const Item &item = m_items.front();
    const qreal baseline = item.content->firstBaseline();
    return baseline < 0 ? baseline : item.content->position().y() + baseline;
}

void LayoutListNode::paint(LayoutPaintContext &context) const
{
    auto first = std::partition_point(m_items.begin(), m_items.end(), [&](const Item &item) {
        return item.top + item.height < context.clip.top();
    });
    for (auto it = first; it != m_items.end() && it->top <= context.clip.bottom(); ++it) {
        paintChild(context, *it->marker);
        paintChild(context, *it->content);
    }
}

} // namespace kestrune
