#include "markdown/layout/nodes/layoutshapenode_p.h"

#include "ui/bandedfill.h"

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
    QPainter &painter = *context.painter;
    if (m_cornerRadius <= 0) {
        BandedFill::fillRect(painter, bounds, color);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QTransform device = painter.deviceTransform();
    const QRectF area = device.mapRect(bounds);
    // Whole device rows between the rounded ends, filled in bands; each end is drawn as a short
    // copy of the shape, as tall as the end and a corner beyond it, clipped to the end's rows:
    // the rows kept show what the whole shape shows there.
    const qreal reach = m_cornerRadius * std::abs(device.m22()) + 1;
    const qreal firstRow = std::ceil(area.top() + reach);
    const qreal endRow = std::floor(area.bottom() - reach);
    if (device.type() > QTransform::TxScale || device.m22() <= 0 ||
        endRow - firstRow <= 2 * BandedFill::bandRows) {
        painter.drawRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
        painter.restore();
        return;
    }
    const QTransform logical = device.inverted();
    // Device rows [from, to) in the painter's coordinates to clip an end to, a hair inside so
    // that no rounding gives a row to two parts: the colour may be translucent.
    const auto rows = [&](qreal from, qreal to) {
        return logical.mapRect(QRectF(area.left() - 2, from + 1e-6, area.width() + 4, to - from - 2e-6));
    };
    const qreal beyond = m_cornerRadius + 1;
    const QRectF top = rows(std::floor(area.top()), firstRow);
    const QRectF bottom = rows(endRow, std::ceil(area.bottom()));
    painter.save();
    painter.setClipRect(top, Qt::IntersectClip);
    painter.drawRoundedRect(
        QRectF(bounds.left(), bounds.top(), bounds.width(), top.bottom() - bounds.top() + beyond),
        m_cornerRadius, m_cornerRadius);
    painter.restore();
    painter.save();
    painter.setClipRect(bottom, Qt::IntersectClip);
    painter.drawRoundedRect(
        QRectF(bounds.left(), bottom.top() - beyond, bounds.width(), bounds.bottom() - bottom.top() + beyond),
        m_cornerRadius, m_cornerRadius);
    painter.restore();
    const qreal middleTop = logical.map(QPointF(0, firstRow)).y();
    const qreal middleBottom = logical.map(QPointF(0, endRow)).y();
    BandedFill::fillRect(painter, QRectF(bounds.left(), middleTop, bounds.width(), middleBottom - middleTop),
                         color);
    painter.restore();
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
