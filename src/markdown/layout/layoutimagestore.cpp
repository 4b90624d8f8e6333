#include "markdown/layout/layoutimagestore_p.h"

#include "markdown/images/imageprovider.h"

namespace kestrune {

LayoutImageStore::LayoutImageStore(QObject *parent) : QObject(parent) {}

const QImage *LayoutImageStore::image(const QUrl &url, ImageProvider *provider)
{
    if (!provider || !url.isValid())
        return nullptr;
    const Key key{quintptr(provider), url};
    auto it = m_entries.find(key);
    if (it != m_entries.end())
        return it->state == Entry::State::loaded ? &it->image : nullptr;

    m_entries.insert(key, Entry());
    provider->image(url).then(this, [this, key, provider](const QImage &image) {
        auto entry = m_entries.find(key);
        if (entry == m_entries.end())
            return;
        if (image.isNull()) {
            entry->state = Entry::State::failed;
            return;
        }
        entry->state = Entry::State::loaded;
        entry->image = image;
        // Always from the event loop, never from inside a layout that asked for the image.
        QMetaObject::invokeMethod(
            this, [this, key, provider] { Q_EMIT imageLoaded(key.second, provider); }, Qt::QueuedConnection);
    });
    return nullptr;
}

} // namespace kestrune
