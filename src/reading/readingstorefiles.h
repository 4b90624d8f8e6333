#pragma once

#include "reading/readingrecord.h"
#include "reading/readingstorenotice.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace kestrune {

// The files of one project's store, read and written in the calling thread (the store's worker):
//
//     <store folder>/index              the ReadingRecord (readingrecordformat_p.h)
//     <store folder>/texts/<sha-256>    a seen text, qCompress'ed, named by the hash of its bytes
//
// Every file is written whole through QSaveFile, so a reader finds the old index or the new one,
// never a mix. Texts never change once written (the same bytes get the same name), so two
// instances of the program on one project can only disagree about the index: the last one to
// write it wins, and neither ever sees a damaged store. A text the other instance's index no
// longer names may be removed meanwhile; its file then reads as "no earlier text".
class ReadingStoreFiles
{
public:
    struct Loaded
    {
        ReadingRecord record; // empty (no baseline) when there was none or it was set aside
        std::optional<ReadingStoreNotice> notice;
    };

    ReadingStoreFiles(QString folder, QString projectPath);

    const QString &folder() const { return m_folder; }
    QString indexPath() const;

    // The record kept, an empty one when there is none yet; a store that cannot be believed is
    // renamed aside and said in the notice.
    Loaded load() const;
    bool saveIndex(const ReadingRecord &record) const;
    // Keeps a seen text under its hash; the bytes it takes, or nothing when it cannot be written.
    std::optional<qint64> keepText(QByteArrayView hash, QByteArrayView bytes) const;
    // The text seen of a file: nothing when the store holds none, or what it holds is damaged.
    std::optional<QByteArray> text(const SeenFile &file) const;
    // Removes the texts neither the record nor `alsoKept` (hashes) names.
    void removeTextsOutside(const ReadingRecord &record, const QList<QByteArray> &alsoKept = {}) const;
    // Removes the whole store folder of the project.
    bool forget() const;

    static QByteArray hashOf(QByteArrayView bytes);

private:
    QString textPath(QByteArrayView hash) const;
    QString setAside(const QString &path) const;

    QString m_folder;
    QString m_projectPath;
};

} // namespace kestrune
