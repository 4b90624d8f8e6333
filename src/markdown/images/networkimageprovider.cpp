#include "markdown/images/networkimageprovider.h"

#include "markdown/images/defaultnetworkimageloader.h"

namespace kestrune {

NetworkImageProvider::NetworkImageProvider(NetworkImageLoader *loader) : m_loader(loader) {}

QFuture<QImage> NetworkImageProvider::image(const QUrl &url)
{
    NetworkImageLoader *loader = m_loader ? m_loader : DefaultNetworkImageLoader::shared();
    return loader->image(url).then(
        [](const NetworkImageResult &result) { return result.isSuccess() ? result.image : QImage(); });
}

std::shared_ptr<ImageProvider> NetworkImageProvider::shared()
{
    static const std::shared_ptr<ImageProvider> provider = std::make_shared<NetworkImageProvider>();
    return provider;
}

} // namespace kestrune
