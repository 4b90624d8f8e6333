#pragma once

#include "markdown/images/networkimagecache.h"

#include <QCache>
#include <QMutex>

#include <memory>

namespace kestrune {

// A bounded in-memory map from URL to decoded image, bounded by the bytes of
// pixels it holds: the least recently used entries go first once a new image
// would exceed the limit, and an image larger than the whole limit is not kept.
// Safe to use from any thread.
class DefaultNetworkImageCache : public NetworkImageCache
{
public:
    // A few dozen pictures of page width; a handful at the largest decoded size.
    static constexpr qint64 sharedByteLimit = 256 * 1024 * 1024;

    explicit DefaultNetworkImageCache(qint64 byteLimit = sharedByteLimit);

    // The process-wide instance, with a limit of 256 MiB.
    static std::shared_ptr<DefaultNetworkImageCache> shared();

    std::optional<QImage> image(const QUrl &url) const override;
    void setImage(const QImage &image, const QUrl &url) override;

    qint64 byteLimit() const;
    qint64 byteCount() const; // of the pixels of the images held
    int count() const;

private:
    mutable QMutex m_mutex;
    mutable QCache<QUrl, QImage> m_images; // a look-up refreshes an entry's age
};

} // namespace kestrune
