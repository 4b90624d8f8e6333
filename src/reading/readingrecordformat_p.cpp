#include "reading/readingrecordformat_p.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

#include <limits>

namespace kestrune {

namespace {

constexpr char magic[] = "KSTREADG";
constexpr qsizetype magicSize = sizeof magic - 1;
constexpr qsizetype hashSize = 32;
constexpr qsizetype headerSize = magicSize + 4 + 8 + hashSize;
constexpr qint64 noDate = std::numeric_limits<qint64>::min();

qint64 millisecondsOf(const QDateTime &date)
{
    return date.isValid() ? date.toMSecsSinceEpoch() : noDate;
}

QDateTime dateOf(qint64 milliseconds)
{
    return milliseconds == noDate ? QDateTime() : QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
}

} // namespace

QByteArray ReadingRecordFormat::write(const ReadingRecord &record)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        out << record.projectPath << millisecondsOf(record.firstImport.value_or(QDateTime()))
            << quint32(record.files.size());
        for (const SeenFile &file : record.files) {
            out << file.relativePath << millisecondsOf(file.seenAt) << millisecondsOf(file.modificationDate)
                << file.size << file.contentHash << file.hasText << file.storedTextSize
                << file.facts.tasksDone.value_or(-1) << file.facts.requirementNames.has_value()
                << file.facts.requirementNames.value_or(QStringList());
        }
    }
    QByteArray bytes;
    bytes.reserve(headerSize + payload.size());
    bytes.append(magic, magicSize);
    char number[8];
    qToBigEndian(version, number);
    bytes.append(number, 4);
    qToBigEndian(quint64(payload.size()), number);
    bytes.append(number, 8);
    bytes.append(QCryptographicHash::hash(payload, QCryptographicHash::Sha256));
    bytes.append(payload);
    return bytes;
}

std::variant<ReadingRecord, ReadingStoreNotice::Reason> ReadingRecordFormat::read(const QByteArray &bytes,
                                                                                  const QString &projectPath)
{
    using Reason = ReadingStoreNotice::Reason;
    if (bytes.size() < magicSize)
        return QByteArrayView(magic, bytes.size()) == QByteArrayView(bytes) ? Reason::truncated
                                                                            : Reason::damaged;
    if (QByteArrayView(bytes).first(magicSize) != QByteArrayView(magic, magicSize))
        return Reason::damaged;
    if (bytes.size() < headerSize)
        return Reason::truncated;
    if (qFromBigEndian<quint32>(bytes.constData() + magicSize) != version)
        return Reason::foreignVersion;
    const quint64 length = qFromBigEndian<quint64>(bytes.constData() + magicSize + 4);
    if (length > quint64(bytes.size() - headerSize))
        return Reason::truncated;
    if (length < quint64(bytes.size() - headerSize))
        return Reason::damaged;
    const QByteArray payload = bytes.sliced(headerSize);
    if (QCryptographicHash::hash(payload, QCryptographicHash::Sha256) !=
        QByteArrayView(bytes).sliced(headerSize - hashSize, hashSize))
        return Reason::damaged;

    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_4);
    ReadingRecord record;
    qint64 firstImport = noDate;
    quint32 count = 0;
    in >> record.projectPath >> firstImport >> count;
    if (in.status() != QDataStream::Ok || record.projectPath != projectPath)
        return Reason::damaged;
    if (firstImport != noDate)
        record.firstImport = dateOf(firstImport);
    record.files.reserve(qsizetype(qMin<quint32>(count, 1 << 20)));
    for (quint32 i = 0; i < count; ++i) {
        SeenFile file;
        qint64 seenAt = noDate;
        qint64 modified = noDate;
        qint64 tasksDone = -1;
        bool hasRequirements = false;
        QStringList requirements;
        in >> file.relativePath >> seenAt >> modified >> file.size >> file.contentHash >> file.hasText >>
            file.storedTextSize >> tasksDone >> hasRequirements >> requirements;
        if (in.status() != QDataStream::Ok)
            return Reason::damaged;
        file.seenAt = dateOf(seenAt);
        file.modificationDate = dateOf(modified);
        if (tasksDone >= 0)
            file.facts.tasksDone = tasksDone;
        if (hasRequirements)
            file.facts.requirementNames = std::move(requirements);
        record.files.insert(file.relativePath, file);
    }
    if (!in.atEnd())
        return Reason::damaged;
    return record;
}

} // namespace kestrune
