#pragma once

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUrl>

#include <chrono>
#include <optional>

namespace kestrune {

class ImageProvider;

// The pictures of one document: each URL is asked of its provider, and the answer announced
// with imageLoaded or imageFailed.
//
// Decoded pictures are kept within a budget of bytes: past it, the one used least recently
// (laid out or painted) is let go and asked for again when it is next used, while its size is
// kept so that the page does not move meanwhile. A picture used within the last moments is
// kept whatever the budget, so a screenful larger than the budget does not load for ever.
class LayoutImageStore : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 defaultBudget = qint64(256) << 20;

    explicit LayoutImageStore(QObject *parent = nullptr);

    void setBudget(qint64 bytes, std::chrono::milliseconds keptAfterUse);
    // While held, images asked for are noted but not loaded: a page built off the window's
    // thread must not start loads that continue on that thread. Releasing starts them all.
    void holdRequests();
    void releaseRequests();

    // The loaded image, or nullptr while it loads, after it failed, or without a provider. The
    // first call for a URL starts the load, and so does the first call after it was let go.
    const QImage *image(const QUrl &url, ImageProvider *provider);
    // The size of the image once it has loaded, kept after it was let go.
    std::optional<QSize> loadedSize(const QUrl &url, ImageProvider *provider) const;
    qint64 decodedBytes() const { return m_bytes; }
    // Whether the image cannot be shown: its load failed (no such file, broken data, a time-out,
    // an unsupported URL) or was abandoned, or there is no URL or provider to load it with.
    bool hasFailed(const QUrl &url, ImageProvider *provider) const;
    // Whether an image asked for is still loading, or its arrival not yet announced.
    bool isSettling() const;

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
        std::optional<QSize> size;
        std::chrono::steady_clock::time_point lastUse;
    };
    using Key = std::pair<quintptr, QUrl>;

    void load(const Key &key, ImageProvider *provider);
    // Takes the image a load gave (none: it failed).
    void settle(const Key &key, ImageProvider *provider, const QFuture<QImage> &future);
    void fail(const Key &key, ImageProvider *provider);
    void keepWithinBudget();

    QHash<Key, Entry> m_entries;
    bool m_holding = false;
    QList<std::pair<Key, ImageProvider *>> m_held;
    qint64 m_bytes = 0;
    int m_unannounced = 0; // settled, the signal still queued
    qint64 m_budget = defaultBudget;
    std::chrono::milliseconds m_keptAfterUse{2000};
};

} // namespace kestrune
