#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"

#include <QUrl>

#include <memory>
#include <optional>

namespace kestrune {

class ImageProvider;
class LayoutImageStore;

// A picture at its natural size, made smaller to fit the offered width (never larger), placed
// at the top-leading corner. It takes no room until it has loaded; when it cannot be loaded,
// its fallback (the failed-image symbol and the alternative text) takes its place.
class LayoutImageNode : public LayoutNode
{
public:
    LayoutImageNode(const QUrl &url, std::optional<QUrl> link, LayoutImageStore *store,
                    ImageProvider *provider, qreal devicePixelRatio, std::unique_ptr<LayoutNode> fallback);
    ~LayoutImageNode() override;

    const QUrl &url() const { return m_url; }

    // Resize to fit: an image wider than the offered width takes that width and keeps its
    // aspect ratio.
    static QSizeF fittedSize(QSizeF natural, qreal width);

    void paint(LayoutPaintContext &context) const override;
    void hitTest(QPointF point, LayoutHit &hit) override;
    qreal firstBaseline() const override;
    int childCount() const override { return m_showsFallback ? 1 : 0; }
    LayoutNode *child(int) const override { return m_fallback.get(); }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return "image"; }
    QString dumpDetails() const override { return m_url.toString(); }

private:
    const QImage *loadedImage() const;

    QUrl m_url;
    std::optional<QUrl> m_link;
    LayoutImageStore *m_store;
    ImageProvider *m_provider;
    qreal m_devicePixelRatio;
    std::unique_ptr<LayoutNode> m_fallback;
    bool m_showsFallback = false;
};

} // namespace kestrune
