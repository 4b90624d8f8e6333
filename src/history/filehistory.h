#pragma once

#include "history/filehistoryentry.h"
#include "history/historyoutcome.h"

#include <QFuture>
#include <QString>

namespace kestrune {

class HistoryRepository;

using FileHistoryBatch = HistoryBatch<FileHistoryEntry>;

// The commits that changed a file, newest first, back to the one that added it, following its
// renames (found by content, as the file moved into the archive with its change). A merge that
// kept the file as one of its parents had it is not listed. The file's text at each commit
// comes from HistoryRepository::fileAt.
class FileHistory
{
public:
    using Deliver = std::function<void(FileHistoryBatch &&)>;

    // `file` is the file's absolute path on disk; reads on the calling thread.
    static HistoryOutcome read(const HistoryRepository &repository, const QString &file,
                               const Deliver &deliver, const HistoryCancelCheck &isCancelled = {});
    static QFuture<FileHistoryBatch> start(const QString &projectFolder, const QString &file);
};

} // namespace kestrune
