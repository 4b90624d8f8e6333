#pragma once

#include "markdown/images/defaultnetworkimagecache.h"
#include "markdown/images/defaultnetworkimageloader.h"
#include "markdown/images/networkimageloader.h"

#include <QString>

#include <memory>

class QThreadPool;

namespace kestrune {

// Reads pictures from files, only from those inside one folder: a file counts as inside when its
// canonical path is (after "..", "." and every symbolic link are resolved), so neither a relative
// path climbing out nor a link pointing elsewhere reaches beyond it; anything else fails with
// `forbidden` before it is opened. Only regular files are read, no larger than downloads may be;
// the bytes are decoded by the rules of downloaded pictures (ImageDecoder), off the calling
// thread. Decoded pictures go to a NetworkImageCache under the file's path, modification time and
// size, so a file that changed on disk is read again the next time it is asked for.
class LocalImageLoader : public NetworkImageLoader
{
public:
    // `rootFolder` empty: every file is refused. `cache` may be shared with network loaders: the
    // keys of files never equal a web address.
    explicit LocalImageLoader(QString rootFolder,
                              std::shared_ptr<NetworkImageCache> cache = DefaultNetworkImageCache::shared(),
                              qint64 maximumFileSize = DefaultNetworkImageLoader::defaultMaximumResponseSize);

    const QString &rootFolder() const { return m_rootFolder; }

    // A file: URL; any other fails with `forbidden`.
    QFuture<NetworkImageResult> image(const QUrl &url) override;

    // The picture at `path`, read and decoded on the calling thread.
    NetworkImageResult load(const QString &path) const;

    // Whether the canonical `path` lies inside the canonical `folder`.
    static bool isInside(const QString &path, const QString &folder);

private:
    static NetworkImageResult read(const QString &path, const QString &rootFolder, NetworkImageCache *cache,
                                   qint64 maximumFileSize);
    // Where files are read and decoded: a small pool of the loaders' own, never the global one
    // that painting waits on.
    static QThreadPool *pool();

    QString m_rootFolder;
    std::shared_ptr<NetworkImageCache> m_cache;
    qint64 m_maximumFileSize;
};

} // namespace kestrune
