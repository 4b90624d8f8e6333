#include "markdown/layout/nodes/layoutboxnode_p.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutBoxNode::LayoutBoxNode(Kind kind, std::unique_ptr<LayoutNode> child)
    : m_kind(kind), m_child(std::move(child))
{
    adopt(m_child.get());
}

std::unique_ptr<LayoutBoxNode> LayoutBoxNode::padding(std::unique_ptr<LayoutNode> child, QMarginsF margins)
{
    std::unique_ptr<LayoutBoxNode> node(new LayoutBoxNode(Kind::padding, std::move(child)));
    node->m_margins = margins;
    return node;
}

std::unique_ptr<LayoutBoxNode> LayoutBoxNode::background(std::unique_ptr<LayoutNode> child, DynamicColor fill,
                                                         qreal cornerRadius)
{
    std::unique_ptr<LayoutBoxNode> node(new LayoutBoxNode(Kind::background, std::move(child)));
    node->m_fill = fill;
    node->m_cornerRadius = cornerRadius;
    return node;
}

std::unique_ptr<LayoutBoxNode> LayoutBoxNode::clip(std::unique_ptr<LayoutNode> child, qreal cornerRadius)
{
    std::unique_ptr<LayoutBoxNode> node(new LayoutBoxNode(Kind::clip, std::move(child)));
    node->m_cornerRadius = cornerRadius;
    return node;
}

std::unique_ptr<LayoutBoxNode> LayoutBoxNode::frame(std::unique_ptr<LayoutNode> child, Frame frame)
{
    std::unique_ptr<LayoutBoxNode> node(new LayoutBoxNode(Kind::frame, std::move(child)));
    node->m_frame = frame;
    return node;
}

QSizeF LayoutBoxNode::doLayout(qreal width)
{
    switch (m_kind) {
    case Kind::padding: {
        qreal left = m_margins.left();
        qreal horizontal = left + m_margins.right();
        qreal innerWidth = width;
        if (!std::isinf(width)) {
            innerWidth = std::max<qreal>(0, width - horizontal);
            // Deep nesting would leave the content no width at all: the padding gives way, in
            // proportion on both sides, down to what the content needs or a readable width.
            if (innerWidth < narrowestIndentedContent && horizontal > 0) {
                const qreal needed = std::min({width, narrowestIndentedContent, m_child->minimumWidth()});
                if (innerWidth < needed) {
                    const qreal kept = (width - needed) / horizontal;
                    left *= kept;
                    horizontal *= kept;
                    innerWidth = needed;
                }
            }
        }
        const QSizeF inner = m_child->layout(innerWidth);
        m_child->setPosition({left, m_margins.top()});
        return {inner.width() + horizontal, inner.height() + m_margins.top() + m_margins.bottom()};
    }
    case Kind::background:
    case Kind::clip:
        m_child->setPosition({0, 0});
        return m_child->layout(width);
    case Kind::frame: {
        qreal proposal = width;
        if (m_frame.width)
            proposal = *m_frame.width;
        else if (m_frame.minWidth && !std::isinf(width))
            proposal = std::max(width, *m_frame.minWidth);
        return placeInFrame(m_child->layout(proposal));
    }
    }
    return {};
}

qreal LayoutBoxNode::minimumWidth()
{
    const qreal content = m_child->minimumWidth();
    switch (m_kind) {
    case Kind::padding:
        return content + m_margins.left() + m_margins.right();
    case Kind::frame:
        if (m_frame.width)
            return *m_frame.width;
        return std::max(content, m_frame.minWidth.value_or(0));
    case Kind::background:
    case Kind::clip:
        break;
    }
    return content;
}

QSizeF LayoutBoxNode::placeInFrame(QSizeF childSize)
{
    qreal frameWidth = childSize.width();
    if (m_frame.width)
        frameWidth = *m_frame.width;
    else if (m_frame.minWidth)
        frameWidth = std::max(frameWidth, *m_frame.minWidth);
    const qreal frameHeight = m_frame.height.value_or(childSize.height());
    const qreal free = frameWidth - childSize.width();
    qreal x = 0;
    if (m_frame.alignment == BlockView::HorizontalAlignment::center)
        x = free / 2;
    else if (m_frame.alignment == BlockView::HorizontalAlignment::trailing)
        x = free;
    m_child->setPosition({x, m_frame.height ? (frameHeight - childSize.height()) / 2 : 0});
    return {frameWidth, frameHeight};
}

qreal LayoutBoxNode::firstBaseline() const
{
    const qreal baseline = m_child->firstBaseline();
    return baseline < 0 ? baseline : baseline + m_child->position().y();
}

bool LayoutBoxNode::stretchesVertically() const
{
    return !(m_kind == Kind::frame && m_frame.height) && m_child->stretchesVertically();
}

void LayoutBoxNode::stretchTo(qreal height)
{
    if (m_kind == Kind::padding) {
        m_child->stretchTo(std::max<qreal>(0, height - m_margins.top() - m_margins.bottom()));
        setSize({size().width(), height});
        return;
    }
    m_child->stretchTo(height);
    setSize({size().width(), height});
}

void LayoutBoxNode::paint(LayoutPaintContext &context) const
{
    QPainter *painter = context.painter;
    const QRectF bounds(QPointF(0, 0), size());
    switch (m_kind) {
    case Kind::background: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_fill.resolve(context.appearance));
        painter->drawRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
        painter->restore();
        paintChild(context, *m_child);
        return;
    }
    case Kind::clip: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
        painter->setClipPath(path, Qt::IntersectClip);
        const QRectF clip = context.clip;
        context.clip = clip.intersected(bounds);
        paintChild(context, *m_child);
        context.clip = clip;
        painter->restore();
        return;
    }
    case Kind::padding:
    case Kind::frame:
        paintChild(context, *m_child);
        return;
    }
}

const char *LayoutBoxNode::kindName() const
{
    switch (m_kind) {
    case Kind::padding:
        return "padding";
    case Kind::background:
        return "background";
    case Kind::clip:
        return "clip";
    case Kind::frame:
        return "frame";
    }
    return "box";
}

QString LayoutBoxNode::dumpDetails() const
{
    if (m_kind == Kind::padding)
        return QStringLiteral("[%1 %2 %3 %4]")
            .arg(m_margins.top())
            .arg(m_margins.left())
            .arg(m_margins.bottom())
            .arg(m_margins.right());
    if (m_kind == Kind::background || m_kind == Kind::clip)
        return m_cornerRadius > 0 ? QStringLiteral("radius %1").arg(m_cornerRadius) : QString();
    return {};
}

} // namespace kestrune
