#pragma once

#include "history/changehistoryevent.h"
#include "history/historyoutcome.h"

#include <QFuture>
#include <QString>

namespace kestrune {

class HistoryRepository;

using ChangeTimelineBatch = HistoryBatch<ChangeHistoryEvent>;

// The commits that touched a change's folder, newest first, back to the commit that created it.
// The move into the archive is followed (by rename detection on the change's files), so the
// timeline of an archived change goes on past its archiving to its proposal. A commit that left
// the folder as one of its parents had it (a merge bringing nothing new) is not listed.
//
// Cost: one tree lookup per commit decides whether it touched the folder; only the commits that
// did are compared file by file.
class ChangeTimeline
{
public:
    using Deliver = std::function<void(ChangeTimelineBatch &&)>;

    // Reads on the calling thread; `changeFolder` is the folder's absolute path on disk. The
    // last batch delivered carries the outcome, which is also returned.
    static HistoryOutcome read(const HistoryRepository &repository, const QString &changeFolder,
                               const Deliver &deliver, const HistoryCancelCheck &isCancelled = {});

    // Opens the project's repository and reads on the thread pool; each batch is one result of
    // the future, and cancelling the future stops the read.
    static QFuture<ChangeTimelineBatch> start(const QString &projectFolder, const QString &changeFolder);
};

} // namespace kestrune
