#include "markdown/layout/nodes/layoutscrollnode_p.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

LayoutScrollNode::LayoutScrollNode(std::unique_ptr<LayoutNode> content, bool showsIndicators,
                                   ContentWidth contentWidth)
    : m_content(std::move(content)), m_showsIndicators(showsIndicators), m_contentWidth(contentWidth)
{
    adopt(m_content.get());
}

QSizeF LayoutScrollNode::doLayout(qreal width)
{
    const QSizeF content = m_content->layout(m_contentWidth == ContentWidth::ideal ? unbounded : width);
    m_content->setPosition({0, 0});
    // Offered content that fits keeps its own width, as it would outside the box.
    const qreal viewport =
        std::isinf(width) || (m_contentWidth == ContentWidth::offered && content.width() <= width)
            ? content.width()
            : width;
    const qreal overflow = content.width() - viewport;
    // The indicator gets a strip of its own below the content, so it never covers the last
    // line's descenders; content that fits needs neither the indicator nor the strip.
    m_overflows = overflow > overflowTolerance;
    const qreal strip = m_showsIndicators && m_overflows ? indicatorThickness + 2 * indicatorInset : 0;
    m_offset = m_overflows ? std::clamp(m_offset, 0.0, overflow) : 0;
    return QSizeF(viewport, content.height() + strip);
}

qreal LayoutScrollNode::maximumOffset() const
{
    return m_overflows ? std::max<qreal>(0, m_content->size().width() - size().width()) : 0;
}

bool LayoutScrollNode::scrollTo(qreal offset)
{
    const qreal clamped = std::clamp(offset, 0.0, maximumOffset());
    if (clamped == m_offset)
        return false;
    m_offset = clamped;
    return true;
}

QRectF LayoutScrollNode::indicatorTrack() const
{
    if (!m_showsIndicators || !m_overflows)
        return {};
    return QRectF(indicatorInset, size().height() - indicatorThickness - indicatorInset,
                  size().width() - 2 * indicatorInset, indicatorThickness);
}

QRectF LayoutScrollNode::indicatorThumb() const
{
    const QRectF track = indicatorTrack();
    if (track.isEmpty())
        return {};
    const qreal ratio = size().width() / m_content->size().width();
    const qreal length = std::max<qreal>(24, track.width() * ratio);
    const qreal x = track.left() + (track.width() - length) * (m_offset / maximumOffset());
    return QRectF(x, track.top(), length, track.height());
}

qreal LayoutScrollNode::offsetForThumbCenter(qreal x) const
{
    const QRectF track = indicatorTrack();
    const QRectF thumb = indicatorThumb();
    if (track.isEmpty() || track.width() <= thumb.width())
        return 0;
    const qreal fraction = (x - track.left() - thumb.width() / 2) / (track.width() - thumb.width());
    return std::clamp(fraction, 0.0, 1.0) * maximumOffset();
}

void LayoutScrollNode::paint(LayoutPaintContext &context) const
{
    QPainter *painter = context.painter;
    const QRectF bounds(QPointF(0, 0), size());
    painter->save();
    painter->setClipRect(bounds, Qt::IntersectClip);
    const QRectF clip = context.clip;
    context.clip = clip.intersected(bounds).translated(m_offset, 0);
    painter->translate(-m_offset, 0);
    m_content->paint(context);
    painter->translate(m_offset, 0);
    context.clip = clip;
    painter->restore();

    const QRectF thumb = indicatorThumb();
    if (!thumb.isEmpty()) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        QColor color = context.palette.color(QPalette::Text);
        color.setAlphaF(0.35f);
        painter->setBrush(color);
        painter->drawRoundedRect(thumb, thumb.height() / 2, thumb.height() / 2);
        painter->restore();
    }
}

void LayoutScrollNode::hitTest(QPointF point, LayoutHit &hit)
{
    hit.scroll = this;
    const QRectF track = indicatorTrack();
    if (!track.isEmpty() && track.adjusted(0, -indicatorInset, 0, indicatorInset).contains(point)) {
        hit.onScrollIndicator = true;
        return;
    }
    m_content->hitTest(point + QPointF(m_offset, 0), hit);
}

QString LayoutScrollNode::dumpDetails() const
{
    QString details = QStringLiteral("content %1").arg(m_content->size().width());
    if (m_offset > 0)
        details += QStringLiteral(" offset %1").arg(m_offset);
    return details;
}

} // namespace kestrune
