#pragma once

#include "reading/seenfile.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

namespace kestrune {

// Everything the store keeps of one project: when it was first imported and what was seen of
// each file. A plain value (implicitly shared), so a copy is handed to a worker for nothing.
struct ReadingRecord
{
    QString projectPath;                  // the project folder's canonical path
    std::optional<QDateTime> firstImport; // nothing until the baseline of the first import is taken
    QHash<QString, SeenFile> files;       // by relative path

    bool hasBaseline() const { return firstImport.has_value(); }
    // The bytes the compressed texts take in the store.
    qint64 storedTextBytes() const;
    // Drops the texts of the least recently seen files until the stored texts take at most
    // `bound` bytes; their other facts stay. Returns the relative paths whose text was dropped.
    QStringList dropTextsBeyond(qint64 bound);

    friend bool operator==(const ReadingRecord &, const ReadingRecord &) = default;
};

} // namespace kestrune
