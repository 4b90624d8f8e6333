#include "markdown/layout/nodes/layoutsymbolnode_p.h"

#include "ui/symbolicon.h"

#include <QPainter>

namespace kestrune {

LayoutSymbolNode::LayoutSymbolNode(const QString &name, int size, QFont::Weight weight,
                                   std::optional<DynamicColor> color, qreal textXHeight)
    : m_name(name), m_size(size), m_weight(weight), m_color(color), m_textXHeight(textXHeight)
{}

void LayoutSymbolNode::paint(LayoutPaintContext &context) const
{
    const QColor color =
        m_color ? m_color->resolve(context.appearance) : context.palette.color(QPalette::Text);
    SymbolIcon::paint(context.painter, QRectF(0, 0, m_size, m_size), m_name, color, m_weight, m_size);
}

} // namespace kestrune
