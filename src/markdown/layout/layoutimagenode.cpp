#include "markdown/layout/layoutimagenode_p.h"

#include "markdown/layout/layoutimagestore_p.h"

#include <QPainter>

#include <cmath>

namespace kestrune {

LayoutImageNode::LayoutImageNode(const QUrl &url, std::optional<QUrl> link, LayoutImageStore *store,
                                 ImageProvider *provider, qreal devicePixelRatio)
    : m_url(url), m_link(std::move(link)), m_store(store), m_provider(provider),
      m_devicePixelRatio(devicePixelRatio)
{}

QSizeF LayoutImageNode::fittedSize(QSizeF natural, qreal width)
{
    if (natural.isEmpty())
        return {0, 0};
    if (!std::isinf(width) && width < natural.width())
        return {width, width / (natural.width() / natural.height())};
    return natural;
}

const QImage *LayoutImageNode::loadedImage() const
{
    return m_store ? m_store->image(m_url, m_provider) : nullptr;
}

QSizeF LayoutImageNode::doLayout(qreal width)
{
    const QImage *image = loadedImage();
    if (!image)
        return {0, 0};
    return fittedSize(QSizeF(image->size()) / std::max<qreal>(0.01, m_devicePixelRatio), width);
}

void LayoutImageNode::paint(LayoutPaintContext &context) const
{
    const QImage *image = loadedImage();
    if (!image || size().isEmpty())
        return;
    context.painter->save();
    context.painter->setRenderHint(QPainter::SmoothPixmapTransform);
    context.painter->drawImage(QRectF(QPointF(0, 0), size()), *image);
    context.painter->restore();
}

void LayoutImageNode::hitTest(QPointF, LayoutHit &hit)
{
    if (m_link)
        hit.link = m_link;
}

} // namespace kestrune
