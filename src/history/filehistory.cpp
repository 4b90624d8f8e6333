#include "history/filehistory.h"

#include "history/batchdelivery_p.h"
#include "history/filehistoryreader_p.h"
#include "history/historypaths_p.h"
#include "history/historyrepository.h"
#include "history/pooltask_p.h"

namespace kestrune {

HistoryOutcome FileHistory::read(const HistoryRepository &repository, const QString &file,
                                 const Deliver &deliver, const HistoryCancelCheck &isCancelled)
{
    BatchDelivery<FileHistoryEntry> out(deliver);
    const HistoryRepositoryState &state = repository.state();
    const std::optional<QByteArray> path = HistoryPaths::repositoryPathOfFile(state, file);
    HistoryOutcome outcome;
    if (!path || path->isEmpty()) {
        outcome.messages.append(
            QStringLiteral("%1 is not in the project folder %2").arg(file, state.projectFolder));
    } else {
        FileHistoryReader reader(state, *path);
        outcome = reader.read(
            [&out](const FileHistoryReader::Step &step) { out.add(FileHistoryEntry(step.entry)); },
            [&out] { out.poll(); }, isCancelled);
    }
    out.finish(outcome);
    return outcome;
}

QFuture<FileHistoryBatch> FileHistory::start(const QString &projectFolder, const QString &file)
{
    return startOnPool<FileHistoryBatch>([projectFolder, file](QPromise<FileHistoryBatch> &promise) {
        const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
        if (!opening.repository) {
            FileHistoryBatch batch;
            batch.outcome =
                HistoryOutcome{HistoryOutcome::End::unavailable, opening.reason, {opening.message}};
            promise.addResult(std::move(batch));
            return;
        }
        read(
            *opening.repository, file,
            [&promise](FileHistoryBatch &&batch) { promise.addResult(std::move(batch)); },
            [&promise] { return promise.isCanceled(); });
    });
}

} // namespace kestrune
