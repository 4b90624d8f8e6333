#pragma once

#include "reading/catchupentry.h"
#include "reading/catchuplinecount.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <optional>

namespace kestrune {

class ReadingStore;

// Counts the lines added and removed of the catch-up list's files, off the window's thread: the
// texts seen come from the project's ReadingStore (its worker reads them), the files are read
// and compared on a thread of this counter's own. A file is counted once as it is now; listing
// it again unchanged (new marks of the project) keeps its count, a later edit counts it again.
// Lives on the window's thread.
class CatchUpCounter : public QObject
{
    Q_OBJECT

public:
    explicit CatchUpCounter(QObject *parent = nullptr);
    ~CatchUpCounter() override;

    // Counts every entry of `groups` whose count is not known as it is now, with the texts seen
    // that `store` holds; counts of files no longer listed are forgotten. Another store than the
    // last one (another project) starts afresh.
    void count(ReadingStore &store, const QList<CatchUpGroup> &groups);
    // The count of a listed file; `counting` until counted() tells it.
    CatchUpLineCount countOf(const QString &relativePath) const;

    qint64 largestFile() const { return m_largestFile; }
    void setLargestFile(qint64 bytes) { m_largestFile = bytes; }

Q_SIGNALS:
    void counted(const QString &relativePath);

private:
    struct Known
    {
        QString key; // the file as it was counted: its change, date and seen text's hash
        CatchUpLineCount count;
        CatchUpEntry entry;
    };

    QString keyOf(const ReadingStore &store, const CatchUpEntry &entry) const;
    void takeSeenText(const QString &relativePath, const std::optional<QByteArray> &text);
    void start(const CatchUpEntry &entry, const QString &key, const std::optional<QByteArray> &seen);
    void finish(const QString &relativePath, const QString &key, const CatchUpLineCount &count);

    QHash<QString, Known> m_known;
    QPointer<ReadingStore> m_store;
    QMetaObject::Connection m_seenTexts;
    qint64 m_largestFile = CatchUpLineCount::defaultLargestFile;
    QThreadPool m_pool; // last: waits for its tasks before anything else goes
};

} // namespace kestrune
