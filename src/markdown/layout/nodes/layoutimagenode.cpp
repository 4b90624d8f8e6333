#include "markdown/layout/nodes/layoutimagenode_p.h"

#include "markdown/layout/nodes/layoutimagestore_p.h"

#include <QPainter>

#include <cmath>

namespace kestrune {

LayoutImageNode::LayoutImageNode(const QUrl &url, std::optional<QUrl> link, LayoutImageStore *store,
                                 ImageProvider *provider, qreal devicePixelRatio,
                                 std::unique_ptr<LayoutNode> fallback)
    : m_url(url), m_link(std::move(link)), m_store(store), m_provider(provider),
      m_devicePixelRatio(devicePixelRatio), m_fallback(std::move(fallback))
{
    if (m_fallback)
        adopt(m_fallback.get());
}

LayoutImageNode::~LayoutImageNode() = default;

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
    // An image loaded once keeps its size while the store has let it go: measuring does not
    // load it again, only painting does.
    std::optional<QSize> natural = m_store ? m_store->loadedSize(m_url, m_provider) : std::nullopt;
    if (!natural) {
        const QImage *image = loadedImage();
        m_showsFallback = !image && m_fallback && m_store && m_store->hasFailed(m_url, m_provider);
        if (m_showsFallback) {
            m_fallback->setPosition({0, 0});
            return m_fallback->layout(width);
        }
        if (!image)
            return {0, 0};
        natural = image->size();
    }
    m_showsFallback = false;
    return fittedSize(QSizeF(*natural) / std::max<qreal>(0.01, m_devicePixelRatio), width);
}

qreal LayoutImageNode::firstBaseline() const
{
    return m_showsFallback ? m_fallback->firstBaseline() : -1;
}

void LayoutImageNode::paint(LayoutPaintContext &context) const
{
    if (m_showsFallback) {
        paintChildren(context);
        return;
    }
    const QImage *image = loadedImage();
    if (!image || size().isEmpty())
        return;
    context.painter->save();
    context.painter->setRenderHint(QPainter::SmoothPixmapTransform);
    context.painter->drawImage(QRectF(QPointF(0, 0), size()), *image);
    context.painter->restore();
}

void LayoutImageNode::hitTest(QPointF point, LayoutHit &hit)
{
    if (m_showsFallback)
        LayoutNode::hitTest(point, hit);
    if (m_link)
        hit.link = m_link;
}

} // namespace kestrune
