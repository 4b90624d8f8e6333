#include "markdown/images/localimageloader.h"

#include "markdown/images/imagedecoder_p.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QThreadPool>
#include <QUrlQuery>

namespace kestrune {

namespace {

NetworkImageResult forbidden()
{
    return NetworkImageResult::failure(NetworkImageError::forbidden,
                                       QStringLiteral("The image lies outside the folder it may come from"));
}

// The cache's key for a file as it is now: a changed file gets another one.
QUrl cacheKey(const QFileInfo &file)
{
    QUrl key = QUrl::fromLocalFile(file.filePath());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("modified"), QString::number(file.lastModified().toMSecsSinceEpoch()));
    // A file put in place by a rename keeps the time it was written, not when it replaced another.
    query.addQueryItem(QStringLiteral("changed"),
                       QString::number(file.metadataChangeTime().toMSecsSinceEpoch()));
    query.addQueryItem(QStringLiteral("size"), QString::number(file.size()));
    key.setQuery(query);
    return key;
}

} // namespace

LocalImageLoader::LocalImageLoader(QString rootFolder, std::shared_ptr<NetworkImageCache> cache,
                                   qint64 maximumFileSize)
    : m_rootFolder(std::move(rootFolder)), m_cache(std::move(cache)), m_maximumFileSize(maximumFileSize)
{}

QThreadPool *LocalImageLoader::pool()
{
    // Never waited for at exit, so it is not destroyed.
    static QThreadPool *const threads = [] {
        auto *pool = new QThreadPool;
        pool->setMaxThreadCount(2);
        return pool;
    }();
    return threads;
}

bool LocalImageLoader::isInside(const QString &path, const QString &folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

QFuture<NetworkImageResult> LocalImageLoader::image(const QUrl &url)
{
    auto promise = std::make_shared<QPromise<NetworkImageResult>>();
    QFuture<NetworkImageResult> future = promise->future();
    promise->start();
    if (!url.isLocalFile() || m_rootFolder.isEmpty()) {
        promise->addResult(forbidden());
        promise->finish();
        return future;
    }
    pool()->start(
        [promise, path = url.toLocalFile(), root = m_rootFolder, cache = m_cache, limit = m_maximumFileSize] {
            promise->addResult(read(path, root, cache.get(), limit));
            promise->finish();
        });
    return future;
}

NetworkImageResult LocalImageLoader::load(const QString &path) const
{
    return read(path, m_rootFolder, m_cache.get(), m_maximumFileSize);
}

NetworkImageResult LocalImageLoader::read(const QString &path, const QString &rootFolder,
                                          NetworkImageCache *cache, qint64 maximumFileSize)
{
    // Both sides canonical: the folder itself may be reached through a link.
    const QString root = QFileInfo(rootFolder).canonicalFilePath();
    const QFileInfo requested(QDir::cleanPath(path));
    const QString canonical = requested.canonicalFilePath();
    if (canonical.isEmpty()) {
        // A missing file inside the folder is told apart from one outside it.
        if (!isInside(requested.absoluteFilePath(), root))
            return forbidden();
        return NetworkImageResult::failure(NetworkImageError::transport, QStringLiteral("No such file"));
    }
    if (!isInside(canonical, root))
        return forbidden();
    const QFileInfo file(canonical);
    // A pipe or a device would block the read or never end.
    if (!file.isFile())
        return NetworkImageResult::failure(NetworkImageError::transport,
                                           QStringLiteral("Not a regular file"));
    const auto tooLarge = [maximumFileSize] {
        return NetworkImageResult::failure(
            NetworkImageError::tooLarge,
            QStringLiteral("The image is larger than %1 bytes").arg(maximumFileSize));
    };
    if (file.size() > maximumFileSize)
        return tooLarge();
    const QUrl key = cacheKey(file);
    if (cache) {
        if (const std::optional<QImage> cached = cache->image(key))
            return NetworkImageResult::success(*cached);
    }
    QFile input(canonical);
    if (!input.open(QIODevice::ReadOnly))
        return NetworkImageResult::failure(NetworkImageError::transport, input.errorString());
    const QByteArray bytes = input.read(maximumFileSize + 1);
    if (bytes.size() > maximumFileSize)
        return tooLarge();
    const bool svg = file.suffix().startsWith(QLatin1String("svg"), Qt::CaseInsensitive);
    NetworkImageResult result =
        ImageDecoder::decode(bytes, svg ? QStringLiteral("image/svg+xml") : QString());
    if (result.isSuccess() && cache)
        cache->setImage(result.image, key);
    return result;
}

} // namespace kestrune
