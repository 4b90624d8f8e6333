#include "markdown/layout/nodes/layoutshapenode_p.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutShapeNode::LayoutShapeNode(Kind kind, DynamicColor color, qreal cornerRadius)
    : m_kind(kind), m_color(color), m_cornerRadius(cornerRadius)
{}

QSizeF LayoutShapeNode::doLayout(qreal width)
{
    const qreal offered = std::isinf(width) ? 0 : width;
    switch (m_kind) {
    case Kind::horizontalDivider:
        return {offered, dividerThickness};
    case Kind::verticalDivider:
        return {dividerThickness, m_height};
    case Kind::rectangle:
        return {offered, m_height};
    }
    return {};
}

void LayoutShapeNode::stretchTo(qreal height)
{
    m_height = height;
    setSize({size().width(), height});
}

QRectF LayoutShapeNode::paintedBounds(const QRectF &clip) const
{
    // Cut this far beyond the clip, a cut end's rounded corners fall outside it.
    const qreal beyond = m_cornerRadius + 1;
    QRectF bounds(QPointF(0, 0), size());
    bounds.setTop(std::max(bounds.top(), clip.top() - beyond));
    bounds.setBottom(std::min(bounds.bottom(), clip.bottom() + beyond));
    return bounds;
}

void LayoutShapeNode::paint(LayoutPaintContext &context) const
{
    const QRectF bounds = paintedBounds(context.clip);
    if (bounds.height() <= 0)
        return;
    const QColor color = m_color.resolve(context.appearance);
    if (m_cornerRadius <= 0) {
        context.painter->fillRect(bounds, color);
        return;
    }
    context.painter->save();
    context.painter->setRenderHint(QPainter::Antialiasing);
    context.painter->setPen(Qt::NoPen);
    context.painter->setBrush(color);
    context.painter->drawRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
    context.painter->restore();
}

const char *LayoutShapeNode::kindName() const
{
    switch (m_kind) {
    case Kind::rectangle:
        return "rectangle";
    case Kind::horizontalDivider:
        return "divider";
    case Kind::verticalDivider:
        return "vdivider";
    }
    return "shape";
}

} // namespace kestrune
