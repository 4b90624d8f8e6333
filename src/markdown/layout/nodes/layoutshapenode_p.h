#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"

#include "ui/dynamiccolor.h"

namespace kestrune {

// A filled rectangle or a divider line. Both take the width they are offered; in a horizontal
// stack they stretch to its height (a divider there is a vertical line).
class LayoutShapeNode : public LayoutNode
{
public:
    enum class Kind
    {
        rectangle,
        horizontalDivider,
        verticalDivider
    };

    // The platform's separator colour.
    static constexpr DynamicColor separatorColor = dynamicColor(1, 1, 1, 0.1f, 0, 0, 0, 0.1f);
    static constexpr qreal dividerThickness = 1;

    LayoutShapeNode(Kind kind, DynamicColor color, qreal cornerRadius = 0);

    bool stretchesVertically() const override { return m_kind != Kind::horizontalDivider; }
    void stretchTo(qreal height) override;
    void paint(LayoutPaintContext &context) const override;

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override;

private:
    // The part of the shape that is painted: the bar beside a long quote is as tall as the quote,
    // and the painter rasterises a rounded rectangle whole whatever the clip (the 64 bars of a
    // deeply nested quote of 100 KB took most of each paint). Only what the clip shows is drawn.
    QRectF paintedBounds(const QRectF &clip) const;

    Kind m_kind;
    DynamicColor m_color;
    qreal m_cornerRadius;
    qreal m_height = 0;
};

} // namespace kestrune
