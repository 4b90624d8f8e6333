#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/blockview.h"

#include <memory>
#include <vector>

namespace kestrune {

// Children stacked vertically or horizontally with a fixed spacing. In a horizontal stack the
// children that need the least width get it first and the rest share what is left; shapes
// then stretch to the height of the other children.
class LayoutStackNode : public LayoutNode
{
public:
    enum class Axis
    {
        vertical,
        horizontal
    };

    LayoutStackNode(Axis axis, qreal spacing, BlockView::HorizontalAlignment horizontalAlignment,
                    BlockView::VerticalAlignment verticalAlignment);

    void append(std::unique_ptr<LayoutNode> child);

    qreal firstBaseline() const override;
    qreal minimumWidth() override;
    bool stretchesVertically() const override;
    void stretchTo(qreal height) override;
    void paint(LayoutPaintContext &context) const override;
    int childCount() const override { return int(m_children.size()); }
    LayoutNode *child(int index) const override { return m_children[size_t(index)].get(); }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return m_axis == Axis::vertical ? "vstack" : "hstack"; }

private:
    QSizeF layoutVertically(qreal width);
    QSizeF layoutHorizontally(qreal width);
    // The width each child of a row is laid out in; the spacing between them, which gives way
    // when the row is too narrow, is passed in and out.
    std::vector<qreal> allottedWidths(qreal width, qreal &spacing) const;

    Axis m_axis;
    qreal m_spacing;
    BlockView::HorizontalAlignment m_horizontalAlignment;
    BlockView::VerticalAlignment m_verticalAlignment;
    std::vector<std::unique_ptr<LayoutNode>> m_children;
};

} // namespace kestrune
