#pragma once

#include "markdown/images/defaultnetworkimagecache.h"
#include "markdown/images/networkimageloader.h"

#include <QPointer>
#include <QString>

#include <chrono>
#include <memory>

class QThread;

namespace kestrune {

class NetworkImageLoaderWorker;

// Downloads, decodes and caches images. All bookkeeping runs one step at a time
// on the loader's own thread, so concurrent requests for one URL share a single
// download. Requests go out over HTTP(S) with "Accept: image/*", prefer the
// HTTP response cache (10 MiB in memory in front of 100 MiB on disk) and fail
// with timedOut after 15 s without progress or 60 s in all. Only statuses 200
// to 299 count; any other response fails with badServerResponse, bytes that do
// not decode fail with cannotDecodeContentData, and a response over 32 MiB
// fails with tooLarge.
class DefaultNetworkImageLoader : public NetworkImageLoader
{
public:
    // Far beyond any picture a document shows, yet small enough that a few
    // downloads at once cannot exhaust memory.
    static constexpr qint64 defaultMaximumResponseSize = 32 * 1024 * 1024;

    struct Configuration
    {
        QString diskCacheDirectory;
        qint64 memoryCacheCapacity = 10 * 1024 * 1024;
        qint64 diskCacheCapacity = 100 * 1024 * 1024;
        std::chrono::milliseconds transferTimeout{15000};        // without progress
        std::chrono::milliseconds transferDeadline{60000};       // in all, however steady the progress
        qint64 maximumResponseSize = defaultMaximumResponseSize; // bytes of body
        int maximumRequestsPerHost = 4;                          // the rest wait their turn
    };

    // Disk cache under QStandardPaths::CacheLocation, figures as above.
    static Configuration defaultConfiguration();

    explicit DefaultNetworkImageLoader(
        std::shared_ptr<NetworkImageCache> cache = DefaultNetworkImageCache::shared(),
        const Configuration &configuration = defaultConfiguration());
    ~DefaultNetworkImageLoader() override;

    // The process-wide loader with the shared cache, made on first use. It is
    // destroyed with the application object.
    static DefaultNetworkImageLoader *shared();

    QFuture<NetworkImageResult> image(const QUrl &url) override;

private:
    std::unique_ptr<QThread> m_thread;
    QPointer<NetworkImageLoaderWorker> m_worker;
};

} // namespace kestrune
