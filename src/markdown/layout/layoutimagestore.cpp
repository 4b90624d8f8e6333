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
    provider->image(url)
        .then(this,
              [this, key, provider](const QImage &image) {
                  auto entry = m_entries.find(key);
                  if (entry == m_entries.end())
                      return;
                  if (image.isNull()) {
                      fail(key, provider);
                      return;
                  }
                  entry->state = Entry::State::loaded;
                  entry->image = image;
                  // Always from the event loop, never from inside a layout that asked for the image.
                  QMetaObject::invokeMethod(
                      this, [this, key, provider] { Q_EMIT imageLoaded(key.second, provider); },
                      Qt::QueuedConnection);
              })
        .onCanceled(this, [this, key, provider] { fail(key, provider); });
    return nullptr;
}

void LayoutImageStore::fail(const Key &key, ImageProvider *provider)
{
    auto entry = m_entries.find(key);
    if (entry == m_entries.end() || entry->state != Entry::State::loading)
        return;
    entry->state = Entry::State::failed;
    QMetaObject::invokeMethod(
        this, [this, key, provider] { Q_EMIT imageFailed(key.second, provider); }, Qt::QueuedConnection);
}

bool LayoutImageStore::hasFailed(const QUrl &url, ImageProvider *provider) const
{
    if (!provider || !url.isValid())
        return true;
    const auto it = m_entries.constFind(Key{quintptr(provider), url});
    return it != m_entries.constEnd() && it->state == Entry::State::failed;
}

} // namespace kestrune
