#pragma once

#include "history/historyoutcome.h"
#include "history/requirementhistoryentry.h"
#include "preview/requirementhistoryitem.h"
#include "preview/reviewbaseline.h"
#include "project/filesystem.h"
#include "review/changereview.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace kestrune {

class RequirementHistoryPopup;

// What the review of a change takes from the project's git history, computed on the thread pool
// and handed to the review page as plain records, so that the page knows nothing of git: the
// earlier commits to review the change against, the review against one of them, and a
// requirement's history. The repository is opened by each task (opening is cheap) and only read.
class ReviewHistory
{
public:
    ReviewHistory() = delete;

    // How many commits "Compare with" offers at most, besides the one before the change.
    static constexpr qsizetype maximumBaselines = 100;

    // The commits a change can be reviewed against, newest first: HEAD, the commits that touched
    // the change's folder (its move into the archive followed) or the specifications of the
    // capabilities it changes, and the commit the change was proposed on (the parent of its
    // first commit), marked. Nothing when the project lies in no git work tree or has no commit.
    static std::optional<QList<ReviewBaseline>> baselinesOf(const QString &projectFolder,
                                                            const QString &changeFolder,
                                                            const HistoryCancelCheck &isCancelled = {});
    static QFuture<std::optional<QList<ReviewBaseline>>> startBaselines(const QUrl &root,
                                                                        const QUrl &changeFolder);

    // A review and the commit it compared with; none when it compared with the files on disk.
    struct Comparison
    {
        ChangeReview review;
        std::optional<ReviewBaseline> baseline;
    };
    // Reviews the change's delta specifications, as they are on disk, against the specifications
    // as `commit` held them; against those on disk when `commit` is empty or cannot be read.
    static Comparison reviewAt(const FileSystem &fileSystem, const QUrl &root, const QUrl &changeFolder,
                               const QString &commit);
    // reviewAt on the thread pool; cancelling the future drops the work not yet done.
    static QFuture<Comparison> startReviewAt(const QUrl &root, const QUrl &changeFolder,
                                             const QString &commit);

    // The lines a popup lists for a requirement's history: one an entry, one an archived change.
    static QList<RequirementHistoryItem> itemsOf(const QList<RequirementHistoryEntry> &entries,
                                                 const QString &projectFolder);
    // Reads a requirement's history in a specification of the project on the pool into the
    // popup as it arrives; closing the popup stops the read.
    static void feed(RequirementHistoryPopup &popup, const QUrl &root, const QUrl &specification,
                     const QString &requirement);
};

} // namespace kestrune
