#include "markdown/images/defaultnetworkimageloader.h"

#include "markdown/images/networkimageloaderworker_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QThread>

namespace kestrune {

namespace {

DefaultNetworkImageLoader *sharedLoader = nullptr;

void destroySharedLoader()
{
    delete sharedLoader;
    sharedLoader = nullptr;
}

} // namespace

DefaultNetworkImageLoader::Configuration DefaultNetworkImageLoader::defaultConfiguration()
{
    Configuration configuration;
    configuration.diskCacheDirectory = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                           .filePath(QStringLiteral("images"));
    return configuration;
}

DefaultNetworkImageLoader::DefaultNetworkImageLoader(std::shared_ptr<NetworkImageCache> cache,
                                                     const Configuration &configuration)
    : m_thread(std::make_unique<QThread>())
{
    NetworkImageLoaderWorker::Settings settings{
        configuration.diskCacheDirectory,    configuration.memoryCacheCapacity,
        configuration.diskCacheCapacity,     configuration.transferTimeout,
        configuration.transferDeadline,      configuration.maximumResponseSize,
        configuration.maximumRequestsPerHost};
    auto *worker = new NetworkImageLoaderWorker(std::move(cache), std::move(settings));
    worker->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::finished, worker, &QObject::deleteLater);
    m_worker = worker;
    m_thread->setObjectName(QStringLiteral("image loader"));
    m_thread->start();
}

DefaultNetworkImageLoader::~DefaultNetworkImageLoader()
{
    m_thread->quit();
    m_thread->wait();
}

DefaultNetworkImageLoader *DefaultNetworkImageLoader::shared()
{
    Q_ASSERT(QCoreApplication::instance());
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!sharedLoader) {
        sharedLoader = new DefaultNetworkImageLoader;
        qAddPostRoutine(destroySharedLoader);
    }
    return sharedLoader;
}

QFuture<NetworkImageResult> DefaultNetworkImageLoader::image(const QUrl &url)
{
    auto promise = std::make_shared<QPromise<NetworkImageResult>>();
    promise->start();
    QFuture<NetworkImageResult> future = promise->future();
    NetworkImageLoaderWorker *worker = m_worker.data();
    if (!worker) {
        promise->addResult(NetworkImageResult::failure(NetworkImageError::transport,
                                                       QStringLiteral("The image loader has stopped")));
        promise->finish();
        return future;
    }
    QMetaObject::invokeMethod(
        worker, [worker, url, promise] { worker->load(url, promise); }, Qt::QueuedConnection);
    return future;
}

} // namespace kestrune
