#pragma once

#include "markdown/images/imageprovider.h"

#include <QPointer>

#include <memory>

class QObject;

namespace kestrune {

// An image provider that asks another on the thread of a context object (the window's thread),
// whatever thread it is asked on: the providers of the window (downloads, pictures from disk) are
// made there and some may be asked only there, while a page laid out for printing lives on a
// worker thread. The answer comes back on whatever thread fulfils it; a context gone before the
// question reached it leaves the picture failed.
class ImageRequestForwarder : public ImageProvider
{
public:
    ImageRequestForwarder(std::shared_ptr<ImageProvider> provider, QObject *context);

    QFuture<QImage> image(const QUrl &url) override;

    // The provider, forwarded to the thread of `context`; none without a provider.
    static std::shared_ptr<ImageProvider> wrap(std::shared_ptr<ImageProvider> provider, QObject *context);

private:
    std::shared_ptr<ImageProvider> m_provider;
    QPointer<QObject> m_context;
};

} // namespace kestrune
