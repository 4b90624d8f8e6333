#include "markdown/images/defaultnetworkimagecache.h"

namespace kestrune {

DefaultNetworkImageCache::DefaultNetworkImageCache(qint64 byteLimit) : m_images(byteLimit) {}

std::shared_ptr<DefaultNetworkImageCache> DefaultNetworkImageCache::shared()
{
    static const auto instance = std::make_shared<DefaultNetworkImageCache>(sharedByteLimit);
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
    m_images.insert(url, new QImage(image), image.sizeInBytes());
}

qint64 DefaultNetworkImageCache::byteLimit() const
{
    const QMutexLocker locker(&m_mutex);
    return m_images.maxCost();
}

qint64 DefaultNetworkImageCache::byteCount() const
{
    const QMutexLocker locker(&m_mutex);
    return m_images.totalCost();
}

int DefaultNetworkImageCache::count() const
{
    const QMutexLocker locker(&m_mutex);
    return int(m_images.count());
}

} // namespace kestrune
