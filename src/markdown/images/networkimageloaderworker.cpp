#include "markdown/images/networkimageloaderworker_p.h"

#include "markdown/images/imagedecoder_p.h"
#include "markdown/images/networkresponsecache_p.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

namespace kestrune {

namespace {

void resolve(const NetworkImageLoaderWorker::Promise &promise, const NetworkImageResult &result)
{
    promise->addResult(result);
    promise->finish();
}

NetworkImageResult tooLarge(qint64 limit)
{
    return NetworkImageResult::failure(NetworkImageError::tooLarge,
                                       QStringLiteral("The image is larger than %1 bytes").arg(limit));
}

} // namespace

// What one reply has delivered so far, and why it was cut short, if it was.
struct NetworkImageLoaderWorker::Transfer
{
    QByteArray body;
    std::optional<NetworkImageResult> failure;
};

NetworkImageLoaderWorker::NetworkImageLoaderWorker(std::shared_ptr<NetworkImageCache> cache,
                                                   Settings settings)
    : m_cache(std::move(cache)), m_settings(std::move(settings))
{}

NetworkImageLoaderWorker::~NetworkImageLoaderWorker()
{
    // Waiters left when the loader goes away see their futures cancelled.
    m_ongoing.clear();
}

QNetworkAccessManager *NetworkImageLoaderWorker::network()
{
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        m_network->setCache(new NetworkResponseCache(m_settings.diskCacheDirectory,
                                                     m_settings.memoryCacheCapacity,
                                                     m_settings.diskCacheCapacity, m_network));
        m_network->setTransferTimeout(int(m_settings.transferTimeout.count()));
    }
    return m_network;
}

void NetworkImageLoaderWorker::load(const QUrl &url, const Promise &promise)
{
    if (const std::optional<QImage> cached = m_cache->image(url)) {
        resolve(promise, NetworkImageResult::success(*cached));
        return;
    }
    const auto ongoing = m_ongoing.find(url);
    if (ongoing != m_ongoing.end()) {
        ongoing->append(promise);
        return;
    }
    m_ongoing.insert(url, {promise});

    // Only HTTP gives an HTTP response; anything else (file:, data:, ...) is
    // refused without being read.
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        settle(url, NetworkImageResult::failure(NetworkImageError::badServerResponse,
                                                QStringLiteral("Not an HTTP URL")));
        return;
    }
    const QString server = serverOf(url);
    if (m_runningByServer.value(server) >= std::max(1, m_settings.maximumRequestsPerHost)) {
        m_waitingByServer[server].append(url);
        return;
    }
    download(url);
}

QString NetworkImageLoaderWorker::serverOf(const QUrl &url)
{
    return url.scheme().toLower() + QLatin1Char(':') + url.host().toLower() + QLatin1Char(':') +
           QString::number(url.port());
}

void NetworkImageLoaderWorker::download(const QUrl &url)
{
    m_runningByServer[serverOf(url)] += 1;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setRawHeader("Accept", "image/*");
    request.setTransferTimeout(int(m_settings.transferTimeout.count()));
    QNetworkReply *reply = network()->get(request);
    auto transfer = std::make_shared<Transfer>();
    const qint64 limit = m_settings.maximumResponseSize;
    // A declared length over the limit is refused before the body comes.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, transfer, limit] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit)
            abort(reply, *transfer, tooLarge(limit));
    });
    // The body is drained as it arrives, so the reply never holds all of it and
    // an endless one is cut off once past the limit.
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, transfer, limit] {
        if (transfer->failure)
            return;
        transfer->body += reply->read(limit + 1 - transfer->body.size());
        if (transfer->body.size() > limit)
            abort(reply, *transfer, tooLarge(limit));
    });
    // The idle time-out alone lets a server that trickles a byte now and then
    // hold a request open for ever.
    if (m_settings.transferDeadline.count() > 0) {
        QTimer::singleShot(m_settings.transferDeadline, reply, [this, reply, transfer] {
            abort(reply, *transfer,
                  NetworkImageResult::failure(NetworkImageError::timedOut,
                                              QStringLiteral("The image took too long to download")));
        });
    }
    connect(reply, &QNetworkReply::finished, this,
            [this, url, reply, transfer] { finish(url, reply, *transfer); });
}

void NetworkImageLoaderWorker::abort(QNetworkReply *reply, Transfer &transfer,
                                     const NetworkImageResult &failure)
{
    if (transfer.failure || reply->isFinished())
        return;
    transfer.failure = failure;
    transfer.body.clear();
    reply->abort(); // emits finished, which settles the waiters with `failure`
}

void NetworkImageLoaderWorker::downloadEnded(const QUrl &url)
{
    const QString server = serverOf(url);
    int &running = m_runningByServer[server];
    running -= 1;
    auto waiting = m_waitingByServer.find(server);
    if (waiting != m_waitingByServer.end() && !waiting->isEmpty()) {
        const QUrl next = waiting->takeFirst();
        if (waiting->isEmpty())
            m_waitingByServer.erase(waiting);
        download(next);
    } else if (running <= 0) {
        m_runningByServer.remove(server);
    }
}

void NetworkImageLoaderWorker::finish(const QUrl &url, QNetworkReply *reply, const Transfer &transfer)
{
    reply->deleteLater();
    // Whatever the outcome, the next download from the server may start (once this one's
    // waiters are settled, below, as the function returns).
    const auto next = qScopeGuard([this, url] { downloadEnded(url); });
    if (transfer.failure) {
        settle(url, *transfer.failure);
        return;
    }
    // The only cancellation left is the network's own idle time-out.
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError) {
        settle(url, NetworkImageResult::failure(NetworkImageError::timedOut, reply->errorString()));
        return;
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        settle(url, NetworkImageResult::failure(NetworkImageError::badServerResponse,
                                                QStringLiteral("HTTP status %1").arg(status.toInt())));
        return;
    }
    // A body cut short is no image, whatever part of one arrived.
    if (reply->error() != QNetworkReply::NoError) {
        settle(url, NetworkImageResult::failure(NetworkImageError::transport, reply->errorString()));
        return;
    }
    if (!status.isValid()) {
        settle(url, NetworkImageResult::failure(NetworkImageError::badServerResponse,
                                                QStringLiteral("Not an HTTP response")));
        return;
    }
    const QByteArray body = transfer.body + reply->readAll();
    if (body.size() > m_settings.maximumResponseSize) {
        settle(url, tooLarge(m_settings.maximumResponseSize));
        return;
    }
    const NetworkImageResult result =
        ImageDecoder::decode(body, reply->header(QNetworkRequest::ContentTypeHeader).toString());
    if (result.isSuccess())
        m_cache->setImage(result.image, url);
    settle(url, result);
}

void NetworkImageLoaderWorker::settle(const QUrl &url, const NetworkImageResult &result)
{
    // The in-flight entry goes on every outcome, transport failures included, so
    // a later request for the URL tries again.
    const QList<Promise> waiters = m_ongoing.take(url);
    for (const Promise &promise : waiters)
        resolve(promise, result);
}

} // namespace kestrune
