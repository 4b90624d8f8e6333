#include "reading/catchupcounter.h"

#include "reading/readingstore.h"

#include <QSet>

namespace kestrune {

CatchUpCounter::CatchUpCounter(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

CatchUpCounter::~CatchUpCounter()
{
    m_pool.clear();
    m_pool.waitForDone();
}

CatchUpLineCount CatchUpCounter::countOf(const QString &relativePath) const
{
    const auto it = m_known.constFind(relativePath);
    return it == m_known.cend() ? CatchUpLineCount{} : it->count;
}

QString CatchUpCounter::keyOf(const ReadingStore &store, const CatchUpEntry &entry) const
{
    const auto seen = store.record().files.constFind(entry.relativePath);
    const QByteArray hash = seen == store.record().files.cend() ? QByteArray() : seen->contentHash.toHex();
    const qint64 date = entry.modificationDate ? entry.modificationDate->toMSecsSinceEpoch() : -1;
    return QString::number(int(entry.change)) + u'/' + QString::number(date) + u'/' +
           QString::number(int(entry.hasSeenText)) + u'/' + QString::fromLatin1(hash);
}

void CatchUpCounter::count(ReadingStore &store, const QList<CatchUpGroup> &groups)
{
    if (m_store != &store) {
        disconnect(m_seenTexts);
        m_known.clear();
        m_store = &store;
        m_seenTexts = connect(&store, &ReadingStore::seenTextRead, this, &CatchUpCounter::takeSeenText);
    }
    QSet<QString> listed;
    for (const CatchUpGroup &group : groups) {
        for (const CatchUpEntry &entry : group.entries) {
            listed.insert(entry.relativePath);
            const QString key = keyOf(store, entry);
            const auto known = m_known.constFind(entry.relativePath);
            if (known != m_known.cend() && known->key == key)
                continue;
            m_known.insert(entry.relativePath, Known{key, CatchUpLineCount{}, entry});
            if (!entry.hasSeenText && entry.change != CatchUpEntry::Change::added)
                finish(entry.relativePath, key, CatchUpLineCount::uncounted());
            else if (entry.hasSeenText)
                store.readSeenText(entry.relativePath); // takeSeenText follows
            else
                start(entry, key, std::nullopt);
        }
    }
    for (auto it = m_known.begin(); it != m_known.end();)
        it = listed.contains(it.key()) ? std::next(it) : m_known.erase(it);
}

void CatchUpCounter::takeSeenText(const QString &relativePath, const std::optional<QByteArray> &text)
{
    const auto known = m_known.constFind(relativePath);
    if (known == m_known.cend() || known->count.state != CatchUpLineCount::State::counting)
        return; // read for someone else (the preview), or counted already
    if (!text)
        finish(relativePath, known->key, CatchUpLineCount::uncounted());
    else
        start(known->entry, known->key, text);
}

void CatchUpCounter::start(const CatchUpEntry &entry, const QString &key,
                           const std::optional<QByteArray> &seen)
{
    m_pool.start([this, entry, key, seen, largest = m_largestFile] {
        const CatchUpLineCount count = CatchUpLineCount::of(entry, seen, largest);
        // The pool is waited for before this object goes, so it is still there.
        QMetaObject::invokeMethod(
            this, [this, path = entry.relativePath, key, count] { finish(path, key, count); },
            Qt::QueuedConnection);
    });
}

void CatchUpCounter::finish(const QString &relativePath, const QString &key, const CatchUpLineCount &count)
{
    const auto known = m_known.find(relativePath);
    if (known == m_known.end() || known->key != key)
        return; // no longer listed, or changed since
    known->count = count;
    Q_EMIT counted(relativePath);
}

} // namespace kestrune
