#pragma once

#include "markdown/layout/layoutnode_p.h"

#include <QUrl>

#include <optional>

namespace kestrune {

class ImageProvider;
class LayoutImageStore;

// A picture at its natural size, made smaller to fit the offered width (never larger), placed
// at the top-leading corner. It takes no room until it has loaded, and none when it fails.
class LayoutImageNode : public LayoutNode
{
public:
    LayoutImageNode(const QUrl &url, std::optional<QUrl> link, LayoutImageStore *store,
                    ImageProvider *provider, qreal devicePixelRatio);

    const QUrl &url() const { return m_url; }

    // Resize to fit: an image wider than the offered width takes that width and keeps its
    // aspect ratio.
    static QSizeF fittedSize(QSizeF natural, qreal width);

    void paint(LayoutPaintContext &context) const override;
    void hitTest(QPointF point, LayoutHit &hit) override;

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
};

} // namespace kestrune
