#include "markdown/layout/document/imagerequestforwarder_p.h"

#include <QObject>
#include <QPromise>
#include <QThread>

#include <utility>

namespace kestrune {

ImageRequestForwarder::ImageRequestForwarder(std::shared_ptr<ImageProvider> provider, QObject *context)
    : m_provider(std::move(provider)), m_context(context)
{}

std::shared_ptr<ImageProvider> ImageRequestForwarder::wrap(std::shared_ptr<ImageProvider> provider,
                                                           QObject *context)
{
    if (!provider)
        return nullptr;
    return std::make_shared<ImageRequestForwarder>(std::move(provider), context);
}

QFuture<QImage> ImageRequestForwarder::image(const QUrl &url)
{
    QObject *context = m_context.data();
    if (context && QThread::currentThread() == context->thread())
        return m_provider->image(url);
    // A promise given up unfinished (its context gone, its source cancelled) ends cancelled,
    // which the image store takes as a failed picture.
    auto promise = std::make_shared<QPromise<QImage>>();
    promise->start();
    QFuture<QImage> future = promise->future();
    if (!context)
        return future;
    QMetaObject::invokeMethod(
        context,
        [provider = m_provider, url, promise] {
            provider->image(url).then([promise](const QFuture<QImage> &answer) {
                promise->addResult(answer.resultCount() > 0 ? answer.result() : QImage());
                promise->finish();
            });
        },
        Qt::QueuedConnection);
    return future;
}

} // namespace kestrune
