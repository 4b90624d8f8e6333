#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"

#include <memory>

namespace kestrune {

// A box that shows its content at the content's ideal width, or at the box's own width for
// content that narrows down to a limit of its own (a table), and scrolls sideways on its own
// when the content is wider than the box; the page around it never does. While the content
// overflows, a thin indicator in a strip of its own below the content shows the position.
class LayoutScrollNode : public LayoutNode
{
public:
    static constexpr qreal indicatorThickness = 6;
    static constexpr qreal indicatorInset = 2;
    // Content at most this much wider than the box fits: sub-point differences come from
    // rounding text widths and would otherwise show an indicator that scrolls nothing.
    static constexpr qreal overflowTolerance = 0.5;

    enum class ContentWidth
    {
        ideal,   // the content is laid out unbounded
        offered, // the content is offered the box's width and may take more
    };

    LayoutScrollNode(std::unique_ptr<LayoutNode> content, bool showsIndicators,
                     ContentWidth contentWidth = ContentWidth::ideal);

    qreal offset() const { return m_offset; }
    qreal maximumOffset() const;
    // Moves the content; returns whether it moved.
    bool scrollTo(qreal offset);
    bool scrollBy(qreal delta) { return scrollTo(m_offset + delta); }

    // The indicator's track and thumb in node coordinates (empty while nothing overflows).
    QRectF indicatorTrack() const;
    QRectF indicatorThumb() const;
    // The offset at which the thumb's centre is at `x`.
    qreal offsetForThumbCenter(qreal x) const;

    qreal firstBaseline() const override { return m_content->firstBaseline(); }
    // However narrow, the content scrolls.
    qreal minimumWidth() override { return 0; }
    void paint(LayoutPaintContext &context) const override;
    void hitTest(QPointF point, LayoutHit &hit) override;
    int childCount() const override { return 1; }
    LayoutNode *child(int) const override { return m_content.get(); }
    QPointF contentOffset() const override { return {-m_offset, 0}; }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return "scroll"; }
    QString dumpDetails() const override;

private:
    std::unique_ptr<LayoutNode> m_content;
    bool m_showsIndicators;
    ContentWidth m_contentWidth;
    bool m_overflows = false;
    qreal m_offset = 0;
};

} // namespace kestrune
