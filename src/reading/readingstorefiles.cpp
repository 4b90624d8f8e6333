#include "reading/readingstorefiles.h"

#include "reading/readingrecordformat_p.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kestrune {

namespace {

// An index larger than this is not read: ten thousand files take about a megabyte.
constexpr qint64 largestIndex = qint64(256) << 20;
// A compressed text larger than this is not read; the store keeps none that large.
constexpr qint64 largestStoredText = qint64(80) << 20;

bool writeWhole(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// A text is named by its hash and checked against it when read, so a text a crash cut short is
// only a text not kept: it is written whole under another name and renamed, without waiting for
// the disk. QSaveFile syncs each file, and the hundreds of texts kept after a first import kept
// the system's disk threads busy on both processors while the window painted.
bool writeText(const QString &path, QByteArrayView bytes)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open() || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return false;
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace

ReadingStoreFiles::ReadingStoreFiles(QString folder, QString projectPath)
    : m_folder(std::move(folder)), m_projectPath(std::move(projectPath))
{}

QString ReadingStoreFiles::indexPath() const
{
    return m_folder + QStringLiteral("/index");
}

QString ReadingStoreFiles::textPath(QByteArrayView hash) const
{
    return m_folder + QStringLiteral("/texts/") + QString::fromLatin1(hash.toByteArray().toHex());
}

QString ReadingStoreFiles::setAside(const QString &path) const
{
    const QString aside =
        path + QStringLiteral(".set-aside-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    return QFile::rename(path, aside) ? aside : QString();
}

ReadingStoreFiles::Loaded ReadingStoreFiles::load() const
{
    Loaded loaded;
    loaded.record.projectPath = m_projectPath;
    const QString path = indexPath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return loaded;

    std::optional<ReadingStoreNotice::Reason> failure;
    QFile file(path);
    if (!info.isFile() || info.size() > largestIndex || !file.open(QIODevice::ReadOnly)) {
        failure = ReadingStoreNotice::Reason::unreadable;
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            failure = ReadingStoreNotice::Reason::unreadable;
        } else {
            auto result = ReadingRecordFormat::read(bytes, m_projectPath);
            if (auto *record = std::get_if<ReadingRecord>(&result))
                loaded.record = std::move(*record);
            else
                failure = std::get<ReadingStoreNotice::Reason>(result);
        }
    }
    file.close();
    if (failure)
        loaded.notice = ReadingStoreNotice{*failure, setAside(path)};
    return loaded;
}

bool ReadingStoreFiles::saveIndex(const ReadingRecord &record) const
{
    if (!QDir().mkpath(m_folder))
        return false;
    return writeWhole(indexPath(), ReadingRecordFormat::write(record));
}

std::optional<qint64> ReadingStoreFiles::keepText(QByteArrayView hash, QByteArrayView bytes) const
{
    const QString path = textPath(hash);
    const QFileInfo info(path);
    if (info.isFile() && info.size() > 0)
        return info.size(); // the same bytes, kept before
    if (!QDir().mkpath(m_folder + QStringLiteral("/texts")))
        return std::nullopt;
    const QByteArray compressed = qCompress(reinterpret_cast<const uchar *>(bytes.data()), bytes.size());
    if (!writeText(path, compressed))
        return std::nullopt;
    return compressed.size();
}

std::optional<QByteArray> ReadingStoreFiles::text(const SeenFile &file) const
{
    if (!file.hasText || file.contentHash.isEmpty())
        return std::nullopt;
    QFile stored(textPath(file.contentHash));
    if (!QFileInfo(stored).isFile() || stored.size() > largestStoredText || !stored.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray compressed = stored.readAll();
    // qUncompress trusts the length the first four bytes claim; refuse a claim the text cannot
    // have before it allocates for it.
    if (compressed.size() < 4 || qFromBigEndian<quint32>(compressed.constData()) != quint32(file.size))
        return std::nullopt;
    QByteArray bytes = qUncompress(compressed);
    if (bytes.size() != file.size || hashOf(bytes) != file.contentHash)
        return std::nullopt;
    return bytes;
}

void ReadingStoreFiles::removeTextsOutside(const ReadingRecord &record,
                                           const QList<QByteArray> &alsoKept) const
{
    QSet<QString> named;
    for (const QByteArray &hash : alsoKept)
        named.insert(QString::fromLatin1(hash.toHex()));
    for (const SeenFile &file : record.files)
        if (file.hasText)
            named.insert(QString::fromLatin1(file.contentHash.toHex()));
    QDir texts(m_folder + QStringLiteral("/texts"));
    const QStringList entries = texts.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : entries) {
        // Only finished texts: another instance's text being written has a longer name.
        const bool isText = name.size() == 64 && std::all_of(name.cbegin(), name.cend(), [](QChar c) {
                                return c.isDigit() || (c >= u'a' && c <= u'f');
                            });
        if (isText && !named.contains(name))
            texts.remove(name);
    }
}

bool ReadingStoreFiles::forget() const
{
    QDir folder(m_folder);
    return !folder.exists() || folder.removeRecursively();
}

QByteArray ReadingStoreFiles::hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace kestrune
