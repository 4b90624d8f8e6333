#include "markdown/images/defaultnetworkimagecache.h"

namespace kestrune {

DefaultNetworkImageCache::DefaultNetworkImageCache(int countLimit) : m_images(countLimit) {}

std::shared_ptr<DefaultNetworkImageCache> DefaultNetworkImageCache::shared()
{
    static const auto instance = std::make_shared<DefaultNetworkImageCache>(sharedCountLimit);
    return instance;
}

std::optional<QImage> DefaultNetworkImageCache::image(const QUrl &url) const
{
    const QMutexLocker locker(&m_mutex);
    if (const QImage *image = m_images.object(url))
        return *image;
    return std::nullopt;
}

void DefaultNetworkImageCache::setImage(const QImage &image, const QUrl &url)
{
    const QMutexLocker locker(&m_mutex);
    m_images.insert(url, new QImage(image), 1);
}

int DefaultNetworkImageCache::countLimit() const
{
    const QMutexLocker locker(&m_mutex);
    return int(m_images.maxCost());
}

int DefaultNetworkImageCache::count() const
{
    const QMutexLocker locker(&m_mutex);
    return int(m_images.count());
}

} // namespace kestrune
