#pragma once

#include "history/changetimeline.h"
#include "history/filehistory.h"
#include "history/historyrepository.h"
#include "history/requirementhistory.h"

#include <QTest>

namespace kestrune {

// Everything one read delivered: the entries in order, the number of batches and the outcome of
// the last one.
template <typename Entry> struct HistoryRead
{
    QList<Entry> entries;
    int batches = 0;
    std::optional<HistoryOutcome> outcome;

    void deliver(HistoryBatch<Entry> &&batch)
    {
        ++batches;
        entries += batch.entries;
        if (batch.outcome)
            outcome = batch.outcome;
    }
};

inline std::unique_ptr<HistoryRepository> openRepository(const QString &projectFolder)
{
    HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
    if (!opening.repository)
        qWarning("no history: %s", qPrintable(opening.message));
    return std::move(opening.repository);
}

inline HistoryRead<ChangeHistoryEvent> readTimeline(const QString &projectFolder, const QString &changeFolder,
                                                    const HistoryCancelCheck &isCancelled = {})
{
    HistoryRead<ChangeHistoryEvent> read;
    if (const std::unique_ptr<HistoryRepository> repository = openRepository(projectFolder)) {
        ChangeTimeline::read(
            *repository, changeFolder,
            [&read](ChangeTimelineBatch &&batch) { read.deliver(std::move(batch)); }, isCancelled);
    }
    return read;
}

inline HistoryRead<FileHistoryEntry> readFileHistory(const QString &projectFolder, const QString &file)
{
    HistoryRead<FileHistoryEntry> read;
    if (const std::unique_ptr<HistoryRepository> repository = openRepository(projectFolder))
        FileHistory::read(*repository, file,
                          [&read](FileHistoryBatch &&batch) { read.deliver(std::move(batch)); });
    return read;
}

inline HistoryRead<RequirementHistoryEntry>
readRequirementHistory(const QString &projectFolder, const QString &specification, const QString &requirement)
{
    HistoryRead<RequirementHistoryEntry> read;
    if (const std::unique_ptr<HistoryRepository> repository = openRepository(projectFolder)) {
        RequirementHistory::read(
            *repository, specification, requirement,
            [&read](RequirementHistoryBatch &&batch) { read.deliver(std::move(batch)); });
    }
    return read;
}

} // namespace kestrune
