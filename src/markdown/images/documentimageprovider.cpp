#include "markdown/images/documentimageprovider.h"

namespace kestrune {

DocumentImageProvider::DocumentImageProvider(QString rootFolder, std::shared_ptr<ImageProvider> remote)
    : m_local(std::move(rootFolder)), m_remote(std::move(remote))
{}

bool DocumentImageProvider::isRemote(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QFuture<QImage> DocumentImageProvider::image(const QUrl &url)
{
    if (url.isLocalFile()) {
        return m_local.image(url).then(
            [](const NetworkImageResult &result) { return result.isSuccess() ? result.image : QImage(); });
    }
    if (isRemote(url) && m_remote)
        return m_remote->image(url);
    return QtFuture::makeReadyFuture(QImage());
}

} // namespace kestrune
