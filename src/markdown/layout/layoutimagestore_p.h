#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QUrl>

namespace kestrune {

class ImageProvider;

// The pictures of one document: each URL is asked of its provider once; the answer is kept
// for the life of the document and announced with imageLoaded.
class LayoutImageStore : public QObject
{
    Q_OBJECT

public:
    explicit LayoutImageStore(QObject *parent = nullptr);

    // The loaded image, or nullptr while it loads, after it failed, or without a provider. The
    // first call for a URL starts the load.
    const QImage *image(const QUrl &url, ImageProvider *provider);

Q_SIGNALS:
    void imageLoaded(const QUrl &url, ImageProvider *provider);

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

    QHash<Key, Entry> m_entries;
};

} // namespace kestrune
