#pragma once

// The bytes of a store's index file. A header says what the file is and how long its contents
// are, and carries their SHA-256, so a file cut short, changed by hand or written by another
// version is told apart from a good one before anything of it is believed:
//
//     "KSTREADG"  quint32 version  quint64 payload length  32 bytes SHA-256 of the payload
//     payload (QDataStream, Qt 6.4): project path, first import, then one entry per file
//
// Dates are kept as milliseconds since the epoch (the minimum of qint64 for none), so that a
// date read back compares equal to the one a scan gives.

#include "reading/readingrecord.h"
#include "reading/readingstorenotice.h"

#include <QByteArray>

#include <variant>

namespace kestrune {

class ReadingRecordFormat
{
public:
    static constexpr quint32 version = 1;

    ReadingRecordFormat() = delete;

    static QByteArray write(const ReadingRecord &record);
    // The record, or why the bytes are not one of the project at `projectPath`.
    static std::variant<ReadingRecord, ReadingStoreNotice::Reason> read(const QByteArray &bytes,
                                                                        const QString &projectPath);
};

} // namespace kestrune
