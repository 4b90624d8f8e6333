#pragma once

#include "reading/readingrecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <deque>

namespace kestrune {

class ReadingStoreFiles;
struct TreeNode;

// Keeps the texts of files that count as seen but whose text the store does not hold yet, while
// they are still as they were seen: the first import records every file by its date alone, so
// without this a file edited afterwards could only read as "changed, no earlier text". Runs on
// the store's worker, a batch at a time, so that what the reader sees meanwhile is recorded
// between batches.
class UnchangedTextCapture
{
public:
    struct Candidate
    {
        QString relativePath;
        QString localPath;
        QDateTime modificationDate; // as recorded; the file is taken only while it still has it
    };

    // A batch reads at most this many files, or this many bytes, whichever comes first: each text
    // is written through its own QSaveFile, a few milliseconds with its sync, and what is asked
    // of the store meanwhile waits for the batch.
    static constexpr int filesPerBatch = 8;
    static constexpr qint64 bytesPerBatch = qint64(4) << 20;

    UnchangedTextCapture() = delete;

    // The Markdown files of `tree` that `record` holds without a text and with the date they
    // have in the outline, in outline order.
    static std::deque<Candidate> candidates(const TreeNode &tree, const ReadingRecord &record);
    // Reads and keeps the next batch of `pending` (taking them from it), within `budget` bytes of
    // stored text; a file whose date moved, that cannot be read or would exceed the budget is
    // passed over. The records of the texts kept: the path, date, size, hash and stored size.
    static QList<SeenFile> keepNext(std::deque<Candidate> &pending, const ReadingStoreFiles &files,
                                    qint64 budget);
};

} // namespace kestrune
