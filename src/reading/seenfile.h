#pragma once

#include "reading/seenfacts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kestrune {

// What the reader last saw of one file of a project. A plain value.
//
// The file counts as unchanged while its modification date is the one recorded here, or, when
// the date moved, while its bytes still have the recorded hash. A file known from the first
// import only (the baseline) has a date but no hash and no text until the store keeps its text
// (UnchangedTextCapture); a later date before then makes it "changed, no earlier text". The text itself lives
// in the store's folder, named by its hash, and may be dropped by the store's size bound (hasText false)
// while the rest stays.
struct SeenFile
{
    QString relativePath;       // to the project folder, "/" between names
    QDateTime seenAt;           // when it was seen; the first import's time for the baseline
    QDateTime modificationDate; // the file's date at that moment
    qint64 size = -1;           // bytes of the text seen; -1 when not known
    QByteArray contentHash;     // SHA-256 of those bytes; empty when not known
    bool hasText = false;       // the store holds the text seen
    qint64 storedTextSize = 0;  // bytes the compressed text takes in the store
    SeenFacts facts;            // what the cards compare with: tasks done, requirement names

    friend bool operator==(const SeenFile &, const SeenFile &) = default;
};

} // namespace kestrune
