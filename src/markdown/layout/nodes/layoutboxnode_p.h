#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/blockview.h"

#include "ui/dynamiccolor.h"

#include <QMarginsF>

#include <memory>
#include <optional>

namespace kestrune {

// One modifier around one child: padding, a background, a clip shape or a frame.
class LayoutBoxNode : public LayoutNode
{
public:
    enum class Kind
    {
        padding,
        background,
        clip,
        frame
    };

    struct Frame
    {
        std::optional<qreal> width;
        std::optional<qreal> height;
        std::optional<qreal> minWidth;
        BlockView::HorizontalAlignment alignment = BlockView::HorizontalAlignment::leading;
    };

    static std::unique_ptr<LayoutBoxNode> padding(std::unique_ptr<LayoutNode> child, QMarginsF margins);
    static std::unique_ptr<LayoutBoxNode> background(std::unique_ptr<LayoutNode> child, DynamicColor fill,
                                                     qreal cornerRadius);
    static std::unique_ptr<LayoutBoxNode> clip(std::unique_ptr<LayoutNode> child, qreal cornerRadius);
    static std::unique_ptr<LayoutBoxNode> frame(std::unique_ptr<LayoutNode> child, Frame frame);

    qreal firstBaseline() const override;
    qreal minimumWidth() override;
    bool stretchesVertically() const override;
    void stretchTo(qreal height) override;
    void paint(LayoutPaintContext &context) const override;
    int childCount() const override { return 1; }
    LayoutNode *child(int) const override { return m_child.get(); }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override;
    QString dumpDetails() const override;

private:
    LayoutBoxNode(Kind kind, std::unique_ptr<LayoutNode> child);
    QSizeF placeInFrame(QSizeF childSize);

    Kind m_kind;
    std::unique_ptr<LayoutNode> m_child;
    QMarginsF m_margins;
    DynamicColor m_fill;
    qreal m_cornerRadius = 0;
    Frame m_frame;
};

} // namespace kestrune
