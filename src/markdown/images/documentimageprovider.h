#pragma once

#include "markdown/images/imageprovider.h"
#include "markdown/images/localimageloader.h"

#include <memory>

namespace kestrune {

// The pictures of a document that lives in a folder on disk: a file: URL (a relative source
// resolved against the document's folder) through a LocalImageLoader confined to `rootFolder`,
// a web address (http, https) through `remote`, any other scheme refused. Without `remote`
// (remote pictures turned off) web addresses fail at once and nothing is requested.
class DocumentImageProvider : public ImageProvider
{
public:
    // `rootFolder` empty: no file is read.
    explicit DocumentImageProvider(QString rootFolder, std::shared_ptr<ImageProvider> remote);

    QFuture<QImage> image(const QUrl &url) override;

    const QString &rootFolder() const { return m_local.rootFolder(); }
    bool loadsRemoteImages() const { return m_remote != nullptr; }

    // Whether `url` would be fetched from the network.
    static bool isRemote(const QUrl &url);

private:
    LocalImageLoader m_local;
    std::shared_ptr<ImageProvider> m_remote;
};

} // namespace kestrune
