#pragma once

#include "markdown/images/imageprovider.h"

#include <QFutureInterface>
#include <QHash>
#include <QImage>
#include <QList>
#include <QUrl>

namespace kestrune {

// Serves images of given sizes by URL, at once or when released.
class TestImageProvider : public ImageProvider
{
public:
    QHash<QUrl, QSize> sizes;
    QList<QUrl> requests;
    bool deferred = false;

    QFuture<QImage> image(const QUrl &url) override
    {
        requests.append(url);
        QFutureInterface<QImage> promise;
        promise.reportStarted();
        if (deferred) {
            m_pending.append({url, promise});
            return promise.future();
        }
        finish(url, promise);
        return promise.future();
    }

    void release()
    {
        const auto pending = std::exchange(m_pending, {});
        for (auto [url, promise] : pending)
            finish(url, promise);
    }

private:
    void finish(const QUrl &url, QFutureInterface<QImage> &promise)
    {
        QImage image;
        if (sizes.contains(url)) {
            image = QImage(sizes.value(url), QImage::Format_ARGB32);
            image.fill(Qt::red);
        }
        promise.reportResult(image);
        promise.reportFinished();
    }

    QList<std::pair<QUrl, QFutureInterface<QImage>>> m_pending;
};

} // namespace kestrune
