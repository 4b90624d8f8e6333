#include "markdown/layout/nodes/layoutimagestore_p.h"

#include "markdown/images/imageprovider.h"

#include <QFutureWatcher>

#include <algorithm>
#include <utility>

namespace kestrune {

LayoutImageStore::LayoutImageStore(QObject *parent) : QObject(parent) {}

void LayoutImageStore::setBudget(qint64 bytes, std::chrono::milliseconds keptAfterUse)
{
    m_budget = bytes;
    m_keptAfterUse = keptAfterUse;
    keepWithinBudget();
}

const QImage *LayoutImageStore::image(const QUrl &url, ImageProvider *provider)
{
    if (!provider || !url.isValid())
        return nullptr;
    const Key key{quintptr(provider), url};
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        m_entries.insert(key, Entry());
        load(key, provider);
        return nullptr;
    }
    it->lastUse = std::chrono::steady_clock::now();
    if (it->state == Entry::State::loaded && it->image.isNull()) {
        // Let go to keep within the budget: asked for again.
        it->state = Entry::State::loading;
        load(key, provider);
        return nullptr;
    }
    return it->state == Entry::State::loaded ? &it->image : nullptr;
}

std::optional<QSize> LayoutImageStore::loadedSize(const QUrl &url, ImageProvider *provider) const
{
    const auto it = m_entries.constFind(Key{quintptr(provider), url});
    return it == m_entries.constEnd() ? std::nullopt : it->size;
}

void LayoutImageStore::holdRequests()
{
    m_holding = true;
}

void LayoutImageStore::releaseRequests()
{
    m_holding = false;
    for (const auto &[key, provider] : std::exchange(m_held, {}))
        load(key, provider);
}

void LayoutImageStore::load(const Key &key, ImageProvider *provider)
{
    if (m_holding) {
        m_held.append({key, provider});
        return;
    }
    const QFuture<QImage> future = provider->image(key.second);
    if (future.isFinished()) {
        settle(key, provider, future); // known at once: the layout asking sees it
        return;
    }
    // Watched by a child of the store, not continued with the store as context: a future that
    // finishes on another thread after the store is gone must find nothing to call.
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, key, provider] {
        watcher->deleteLater();
        settle(key, provider, watcher->future());
    });
    watcher->setFuture(future);
}

void LayoutImageStore::settle(const Key &key, ImageProvider *provider, const QFuture<QImage> &future)
{
    auto entry = m_entries.find(key);
    if (entry == m_entries.end())
        return;
    const QImage image = future.isCanceled() || future.resultCount() == 0 ? QImage() : future.result();
    if (image.isNull()) {
        fail(key, provider);
        return;
    }
    entry->state = Entry::State::loaded;
    entry->image = image;
    entry->size = image.size();
    entry->lastUse = std::chrono::steady_clock::now();
    m_bytes += image.sizeInBytes();
    keepWithinBudget();
    // Always from the event loop, never from inside a layout that asked for the image.
    ++m_unannounced;
    QMetaObject::invokeMethod(
        this,
        [this, key, provider] {
            --m_unannounced;
            Q_EMIT imageLoaded(key.second, provider);
        },
        Qt::QueuedConnection);
}

void LayoutImageStore::keepWithinBudget()
{
    const auto recent = std::chrono::steady_clock::now() - m_keptAfterUse;
    while (m_bytes > m_budget) {
        Entry *oldest = nullptr;
        for (Entry &entry : m_entries) {
            if (entry.state == Entry::State::loaded && !entry.image.isNull() && entry.lastUse < recent &&
                (!oldest || entry.lastUse < oldest->lastUse))
                oldest = &entry;
        }
        if (!oldest)
            return; // everything left was used just now
        m_bytes -= oldest->image.sizeInBytes();
        oldest->image = QImage();
    }
}

void LayoutImageStore::fail(const Key &key, ImageProvider *provider)
{
    auto entry = m_entries.find(key);
    if (entry == m_entries.end() || entry->state != Entry::State::loading)
        return;
    entry->state = Entry::State::failed;
    ++m_unannounced;
    QMetaObject::invokeMethod(
        this,
        [this, key, provider] {
            --m_unannounced;
            Q_EMIT imageFailed(key.second, provider);
        },
        Qt::QueuedConnection);
}

bool LayoutImageStore::hasFailed(const QUrl &url, ImageProvider *provider) const
{
    if (!provider || !url.isValid())
        return true;
    const auto it = m_entries.constFind(Key{quintptr(provider), url});
    return it != m_entries.constEnd() && it->state == Entry::State::failed;
}

bool LayoutImageStore::isSettling() const
{
    if (m_unannounced > 0)
        return true;
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [](const Entry &entry) { return entry.state == Entry::State::loading; });
}

} // namespace kestrune
