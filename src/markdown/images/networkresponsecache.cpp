#include "markdown/images/networkresponsecache_p.h"

#include <QBuffer>
#include <QNetworkDiskCache>

namespace kestrune {

NetworkResponseCache::NetworkResponseCache(const QString &diskDirectory, qint64 memoryCapacity,
                                           qint64 diskCapacity, QObject *parent)
    : QAbstractNetworkCache(parent), m_disk(new QNetworkDiskCache(this)), m_memoryCapacity(memoryCapacity)
{
    m_disk->setCacheDirectory(diskDirectory);
    m_disk->setMaximumCacheSize(diskCapacity);
}

NetworkResponseCache::~NetworkResponseCache()
{
    qDeleteAll(m_pending.keyBegin(), m_pending.keyEnd());
}

QNetworkCacheMetaData NetworkResponseCache::metaData(const QUrl &url)
{
    const auto found = m_memory.constFind(url);
    if (found != m_memory.cend())
        return found->metaData;
    return m_disk->metaData(url);
}

void NetworkResponseCache::updateMetaData(const QNetworkCacheMetaData &metaData)
{
    const auto found = m_memory.find(metaData.url());
    if (found != m_memory.end())
        found->metaData = metaData;
    m_disk->updateMetaData(metaData);
}

QIODevice *NetworkResponseCache::data(const QUrl &url)
{
    QByteArray bytes;
    const auto found = m_memory.constFind(url);
    if (found != m_memory.cend()) {
        bytes = found->data;
        touch(url);
    } else {
        const std::unique_ptr<QIODevice> device(m_disk->data(url));
        if (!device)
            return nullptr;
        bytes = device->readAll();
        keepInMemory(m_disk->metaData(url), bytes);
    }
    auto *buffer = new QBuffer; // the caller owns it
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

bool NetworkResponseCache::remove(const QUrl &url)
{
    // A response whose saving was abandoned is removed with its device.
    for (auto pending = m_pending.begin(); pending != m_pending.end();) {
        if (pending.value().url() == url) {
            delete pending.key();
            pending = m_pending.erase(pending);
        } else {
            ++pending;
        }
    }
    const bool inMemory = m_memory.contains(url);
    forget(url);
    return m_disk->remove(url) || inMemory;
}

qint64 NetworkResponseCache::cacheSize() const
{
    return m_memorySize + m_disk->cacheSize();
}

QIODevice *NetworkResponseCache::prepare(const QNetworkCacheMetaData &metaData)
{
    if (!metaData.isValid() || !metaData.url().isValid())
        return nullptr;
    auto *buffer = new QBuffer;
    buffer->open(QIODevice::ReadWrite);
    m_pending.insert(buffer, metaData);
    return buffer;
}

void NetworkResponseCache::insert(QIODevice *device)
{
    const auto found = m_pending.find(device);
    if (found == m_pending.end())
        return;
    const QNetworkCacheMetaData metaData = found.value();
    m_pending.erase(found);
    const std::unique_ptr<QBuffer> buffer(static_cast<QBuffer *>(device));
    const QByteArray bytes = buffer->data();

    keepInMemory(metaData, bytes);
    if (metaData.saveToDisk()) {
        if (QIODevice *disk = m_disk->prepare(metaData)) {
            if (disk->write(bytes) == bytes.size())
                m_disk->insert(disk);
            else
                m_disk->remove(metaData.url());
        }
    }
}

void NetworkResponseCache::clear()
{
    m_memory.clear();
    m_recency.clear();
    m_memorySize = 0;
    m_disk->clear();
}

void NetworkResponseCache::keepInMemory(const QNetworkCacheMetaData &metaData, const QByteArray &data)
{
    const QUrl url = metaData.url();
    forget(url);
    if (data.size() > m_memoryCapacity)
        return;
    while (m_memorySize + data.size() > m_memoryCapacity && !m_recency.isEmpty())
        forget(m_recency.first());
    m_memory.insert(url, Entry{metaData, data});
    m_recency.append(url);
    m_memorySize += data.size();
}

void NetworkResponseCache::forget(const QUrl &url)
{
    const auto found = m_memory.find(url);
    if (found == m_memory.end())
        return;
    m_memorySize -= found->data.size();
    m_memory.erase(found);
    m_recency.removeOne(url);
}

void NetworkResponseCache::touch(const QUrl &url)
{
    m_recency.removeOne(url);
    m_recency.append(url);
}

} // namespace kestrune
