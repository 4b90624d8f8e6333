#include "markdown/images/networkimageloaderworker_p.h"

#include "markdown/images/networkresponsecache_p.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kestrune {

namespace {

void resolve(const NetworkImageLoaderWorker::Promise &promise, const NetworkImageResult &result)
{
    promise->addResult(result);
    promise->finish();
}

NetworkImageResult decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The reader keeps Qt's allocation limit, so an image that claims huge
    // dimensions fails here instead of exhausting memory.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read(); // the first image of the file
    if (image.isNull())
        return NetworkImageResult::failure(NetworkImageError::cannotDecodeContentData, reader.errorString());
    return NetworkImageResult::success(std::move(image));
}

} // namespace

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

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setRawHeader("Accept", "image/*");
    request.setTransferTimeout(int(m_settings.transferTimeout.count()));
    QNetworkReply *reply = network()->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, url, reply] { finish(url, reply); });
}

void NetworkImageLoaderWorker::finish(const QUrl &url, QNetworkReply *reply)
{
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (reply->error() != QNetworkReply::NoError)
            settle(url, NetworkImageResult::failure(NetworkImageError::transport, reply->errorString()));
        else
            settle(url, NetworkImageResult::failure(NetworkImageError::badServerResponse,
                                                    QStringLiteral("Not an HTTP response")));
        return;
    }
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        settle(url, NetworkImageResult::failure(NetworkImageError::badServerResponse,
                                                QStringLiteral("HTTP status %1").arg(code)));
        return;
    }
    const NetworkImageResult result = decode(reply->readAll());
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
