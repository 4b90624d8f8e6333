#pragma once

#include "markdown/images/imageprovider.h"

namespace kestrune {

class NetworkImageLoader;

// Images through a NetworkImageLoader: the process-wide shared loader (one download per URL,
// a cache of decoded images, an HTTP cache) unless another one is given.
class NetworkImageProvider : public ImageProvider
{
public:
    // `loader` must outlive the provider; nullptr means the shared loader.
    explicit NetworkImageProvider(NetworkImageLoader *loader = nullptr);

    QFuture<QImage> image(const QUrl &url) override;

    // The provider documents use unless told otherwise.
    static std::shared_ptr<ImageProvider> shared();

private:
    NetworkImageLoader *m_loader;
};

} // namespace kestrune
