#pragma once

#include "markdown/images/networkimagecache.h"

#include <QCache>
#include <QMutex>

#include <memory>

namespace kestrune {

// A bounded in-memory map from URL to decoded image; the least recently used
// entry goes first when the count limit is reached. Safe to use from any thread.
class DefaultNetworkImageCache : public NetworkImageCache
{
public:
    static constexpr int sharedCountLimit = 100;

    explicit DefaultNetworkImageCache(int countLimit = sharedCountLimit);

    // The process-wide instance, with a limit of 100 images.
    static std::shared_ptr<DefaultNetworkImageCache> shared();

    std::optional<QImage> image(const QUrl &url) const override;
    void setImage(const QImage &image, const QUrl &url) override;

    int countLimit() const;
    int count() const;

private:
    mutable QMutex m_mutex;
    mutable QCache<QUrl, QImage> m_images; // a look-up refreshes an entry's age
};

} // namespace kestrune
