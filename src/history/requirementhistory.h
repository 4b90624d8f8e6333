#pragma once

#include "history/historyoutcome.h"
#include "history/requirementhistoryentry.h"

#include <QFuture>
#include <QString>

namespace kestrune {

class HistoryRepository;

using RequirementHistoryBatch = HistoryBatch<RequirementHistoryEntry>;

// The commits that added, changed or removed one requirement of a specification, newest first,
// with the archived changes that altered it. The requirement is matched by name as the review
// matches it (SpecificationDocument::requirementKey), in the specification's history with its
// renames followed; a commit that changed the file but not the requirement's block is not listed.
class RequirementHistory
{
public:
    using Deliver = std::function<void(RequirementHistoryBatch &&)>;

    // `specification` is the specification's absolute path on disk.
    static HistoryOutcome read(const HistoryRepository &repository, const QString &specification,
                               const QString &requirement, const Deliver &deliver,
                               const HistoryCancelCheck &isCancelled = {});
    static QFuture<RequirementHistoryBatch> start(const QString &projectFolder, const QString &specification,
                                                  const QString &requirement);
};

} // namespace kestrune
