#include "markdown/layout/nodes/layoutnode_p.h"

#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutNode::~LayoutNode() = default;

QSizeF LayoutNode::layout(qreal width)
{
    if (m_valid && (width == m_laidOutWidth || (std::isinf(width) && std::isinf(m_laidOutWidth))))
        return m_size;
    m_size = doLayout(width);
    m_laidOutWidth = width;
    m_valid = true;
    if (std::isinf(width)) {
        m_idealWidth = m_size.width();
        m_idealValid = true;
    }
    return m_size;
}

qreal LayoutNode::idealWidth()
{
    if (!m_idealValid)
        layout(unbounded);
    return m_idealWidth;
}

qreal LayoutNode::minimumWidth()
{
    qreal widest = 0;
    for (int i = 0; i < childCount(); ++i)
        widest = std::max(widest, child(i)->minimumWidth());
    return widest;
}

void LayoutNode::invalidate()
{
    for (LayoutNode *node = this; node && (node->m_valid || node->m_idealValid); node = node->m_parent) {
        node->m_valid = false;
        node->m_idealValid = false;
    }
}

void LayoutNode::hitTest(QPointF point, LayoutHit &hit)
{
    const QPointF local = point - contentOffset();
    for (int i = childCount() - 1; i >= 0; --i) {
        LayoutNode *node = child(i);
        if (node->frame().contains(local)) {
            node->hitTest(local - node->position(), hit);
            return;
        }
    }
}

QPointF LayoutNode::mapToDocument(QPointF point) const
{
    for (const LayoutNode *node = this; node; node = node->m_parent) {
        point += node->m_position;
        if (node->m_parent)
            point += node->m_parent->contentOffset();
    }
    return point;
}

void LayoutNode::paintChild(LayoutPaintContext &context, const LayoutNode &child) const
{
    const QRectF frame = child.frame();
    if (!frame.intersects(context.clip) && !(frame.isEmpty() && context.clip.contains(frame.topLeft())))
        return;
    if (context.stopped && context.stopped())
        return;
    const QRectF clip = context.clip;
    context.painter->translate(frame.topLeft());
    context.clip = clip.translated(-frame.topLeft());
    child.paint(context);
    context.clip = clip;
    context.painter->translate(-frame.topLeft());
}

void LayoutNode::paintChildren(LayoutPaintContext &context) const
{
    for (int i = 0; i < childCount(); ++i)
        paintChild(context, *child(i));
}

namespace {

QString number(qreal value)
{
    if (std::isinf(value))
        return QStringLiteral("inf");
    return QString::number(std::round(value * 100) / 100, 'g', 10);
}

} // namespace

void LayoutNode::dump(QTextStream &stream, int depth) const
{
    stream << QString(depth * 2, QLatin1Char(' ')) << kindName() << ' ' << number(m_position.x()) << ','
           << number(m_position.y()) << ' ' << number(m_size.width()) << 'x' << number(m_size.height());
    const QString details = dumpDetails();
    if (!details.isEmpty())
        stream << ' ' << details;
    stream << '\n';
    for (int i = 0; i < childCount(); ++i)
        child(i)->dump(stream, depth + 1);
}

} // namespace kestrune
