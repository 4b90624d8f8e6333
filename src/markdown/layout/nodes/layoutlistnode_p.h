#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/blockmargin.h"

#include <memory>
#include <vector>

namespace kestrune {

// The items of a list: each a marker and, beside it, the item's content, stacked by the margin
// rule. Numbered markers share one column as wide as the widest marker, trailing-aligned;
// other markers keep their own width. A marker sits on the first baseline of its content.
//
// A list nested in another list stops indenting once its content would get narrower than
// `narrowestIndentedContent`: its markers then hang into the indentation of the list around it.
class LayoutListNode : public LayoutNode
{
public:
    static constexpr qreal markerSpacing = 8;

    LayoutListNode(bool sharedMarkerWidth, bool tightSpacing, bool nested);

    void append(std::unique_ptr<LayoutNode> marker, std::unique_ptr<LayoutNode> content, BlockMargin margin);

    qreal firstBaseline() const override;
    qreal minimumWidth() override;
    void paint(LayoutPaintContext &context) const override;
    int childCount() const override { return int(m_items.size() * 2); }
    LayoutNode *child(int index) const override;

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return m_sharedMarkerWidth ? "list numbered" : "list"; }

private:
    struct Item
    {
        std::unique_ptr<LayoutNode> marker;
        std::unique_ptr<LayoutNode> content;
        BlockMargin margin;
        qreal top = 0;
        qreal height = 0;
    };

    std::vector<Item> m_items;
    bool m_sharedMarkerWidth;
    bool m_tightSpacing;
    bool m_nested;
};

} // namespace kestrune
