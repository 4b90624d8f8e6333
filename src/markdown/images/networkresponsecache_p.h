#pragma once

#include <QAbstractNetworkCache>
#include <QHash>
#include <QList>
#include <QNetworkCacheMetaData>

class QBuffer;
class QNetworkDiskCache;

namespace kestrune {

// An HTTP response cache with a bounded memory tier in front of a bounded disk
// cache. Responses are written to both; a disk hit is lifted into memory. Lives
// on the thread of the network access manager that uses it.
class NetworkResponseCache : public QAbstractNetworkCache
{
    Q_OBJECT

public:
    NetworkResponseCache(const QString &diskDirectory, qint64 memoryCapacity, qint64 diskCapacity,
                         QObject *parent = nullptr);
    ~NetworkResponseCache() override;

    QNetworkCacheMetaData metaData(const QUrl &url) override;
    void updateMetaData(const QNetworkCacheMetaData &metaData) override;
    QIODevice *data(const QUrl &url) override;
    bool remove(const QUrl &url) override;
    qint64 cacheSize() const override;
    QIODevice *prepare(const QNetworkCacheMetaData &metaData) override;
    void insert(QIODevice *device) override;

    qint64 memorySize() const { return m_memorySize; }

public Q_SLOTS:
    void clear() override;

private:
    struct Entry
    {
        QNetworkCacheMetaData metaData;
        QByteArray data;
    };

    void keepInMemory(const QNetworkCacheMetaData &metaData, const QByteArray &data);
    void forget(const QUrl &url);
    void touch(const QUrl &url);

    QNetworkDiskCache *m_disk = nullptr; // child
    qint64 m_memoryCapacity = 0;
    qint64 m_memorySize = 0;
    QHash<QUrl, Entry> m_memory;
    QList<QUrl> m_recency; // least recently used first
    QHash<QIODevice *, QNetworkCacheMetaData> m_pending;
};

} // namespace kestrune
