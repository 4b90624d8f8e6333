#pragma once

#include "markdown/images/networkimagecache.h"
#include "markdown/images/networkimageresult.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPromise>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace kestrune {

// The serial side of DefaultNetworkImageLoader: lives on the loader's own
// thread, where it alone touches the cache look-up, the in-flight map, the
// network access manager and its response cache.
class NetworkImageLoaderWorker : public QObject
{
    Q_OBJECT

public:
    using Promise = std::shared_ptr<QPromise<NetworkImageResult>>;

    struct Settings
    {
        QString diskCacheDirectory;
        qint64 memoryCacheCapacity = 0;
        qint64 diskCacheCapacity = 0;
        std::chrono::milliseconds transferTimeout{0};  // without progress; 0 for none
        std::chrono::milliseconds transferDeadline{0}; // from request to last byte; 0 for none
        qint64 maximumResponseSize = 0;                // bytes of body; a larger response fails
        int maximumRequestsPerHost = 4;                // downloads from one server at a time
    };

    NetworkImageLoaderWorker(std::shared_ptr<NetworkImageCache> cache, Settings settings);
    ~NetworkImageLoaderWorker() override;

    // Runs on the worker's thread.
    void load(const QUrl &url, const Promise &promise);

private:
    struct Transfer;

    QNetworkAccessManager *network();
    static QString serverOf(const QUrl &url);
    void download(const QUrl &url);
    // A download from the server of `url` has ended: the next one waiting for it starts.
    void downloadEnded(const QUrl &url);
    void abort(QNetworkReply *reply, Transfer &transfer, const NetworkImageResult &failure);
    void finish(const QUrl &url, QNetworkReply *reply, const Transfer &transfer);
    void settle(const QUrl &url, const NetworkImageResult &result);

    std::shared_ptr<NetworkImageCache> m_cache;
    Settings m_settings;
    QNetworkAccessManager *m_network = nullptr; // child, made on first use on this thread
    QHash<QUrl, QList<Promise>> m_ongoing;      // one download per URL, many waiters
    // Downloads running per server, and the URLs waiting for one of them to end, in the order
    // asked: a document's images in reading order, the first screen's first.
    QHash<QString, int> m_runningByServer;
    QHash<QString, QList<QUrl>> m_waitingByServer;
};

} // namespace kestrune
