#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QUrl>

namespace kestrune {

class ImageProvider;

// The pictures of one document: each URL is asked of its provider once; the answer is kept
// for the life of the document and announced with imageLoaded or imageFailed.
class LayoutImageStore : public QObject
{
    Q_OBJECT

public:
    explicit LayoutImageStore(QObject *parent = nullptr);

    // The loaded image, or nullptr while it loads, after it failed, or without a provider. The
    // first call for a URL starts the load.
    const QImage *image(const QUrl &url, ImageProvider *provider);
    // Whether the image cannot be shown: its load failed (no such file, broken data, a time-out,
    // an unsupported URL) or was abandoned, or there is no URL or provider to load it with.
    bool hasFailed(const QUrl &url, ImageProvider *provider) const;

Q_SIGNALS:
    void imageLoaded(const QUrl &url, ImageProvider *provider);
    void imageFailed(const QUrl &url, ImageProvider *provider);

private:
    struct Entry
    {
        enum class State
        {
            loading,
            loaded,
            failed
        };
        State state = State::loading;
        QImage image;
    };
    using Key = std::pair<quintptr, QUrl>;

    void fail(const Key &key, ImageProvider *provider);

    QHash<Key, Entry> m_entries;
};

} // namespace kestrune
