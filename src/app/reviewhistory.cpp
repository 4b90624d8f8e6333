#include "app/reviewhistory.h"

#include "history/changetimeline.h"
#include "history/filehistory.h"
#include "history/historyrepository.h"
#include "history/requirementhistory.h"
#include "history/snapshotfilesystem.h"
#include "preview/requirementhistorypopup.h"
#include "project/modelenvironment.h"
#include "text/backgroundpool.h"
#include "ui/localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHash>
#include <QtConcurrent/qtconcurrentrun.h>

#include <algorithm>

namespace kestrune {

namespace {

ReviewBaseline baselineOf(const CommitRecord &commit)
{
    return {commit.sha, commit.time, commit.subject, false};
}

// The current specifications a change's delta specifications name: kestrune/specs/<capability>/
// spec.md and kestrune/specs/<capability>.md for every specs/<capability>/ or specs/<capability>.md
// of the change; those that are gone from disk too, their history is still there.
QStringList specificationsNamedBy(const QString &projectFolder, const QString &changeFolder)
{
    QStringList capabilities;
    const QDir specs(changeFolder + QStringLiteral("/specs"));
    for (const QFileInfo &entry : specs.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            capabilities.append(entry.fileName());
        else if (entry.fileName().endsWith(QLatin1String(".md")))
            capabilities.append(entry.fileName().chopped(3));
    }
    capabilities.removeDuplicates();
    QStringList files;
    for (const QString &capability : std::as_const(capabilities)) {
        files.append(projectFolder + QStringLiteral("/kestrune/specs/") + capability +
                     QStringLiteral("/spec.md"));
        files.append(projectFolder + QStringLiteral("/kestrune/specs/") + capability + QStringLiteral(".md"));
    }
    return files;
}

DeltaSpecType kindOf(RequirementChangeKind kind)
{
    switch (kind) {
    case RequirementChangeKind::added:
        return DeltaSpecType::added;
    case RequirementChangeKind::modified:
        return DeltaSpecType::modified;
    case RequirementChangeKind::removed:
        return DeltaSpecType::removed;
    }
    return DeltaSpecType::modified;
}

QString messageOf(const HistoryOutcome &outcome)
{
    if (outcome.end == HistoryOutcome::End::unavailable)
        return Localization::text("review.history.unavailable");
    if (outcome.isPartial())
        return Localization::text("review.history.partial");
    return QString();
}

} // namespace

std::optional<QList<ReviewBaseline>> ReviewHistory::baselinesOf(const QString &projectFolder,
                                                                const QString &changeFolder,
                                                                const HistoryCancelCheck &isCancelled)
{
    const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
    if (!opening.repository)
        return std::nullopt;
    const HistoryRepository &repository = *opening.repository;
    QHash<QString, CommitRecord> commits;
    if (const std::optional<CommitRecord> head = repository.head())
        commits.insert(head->sha, *head);

    std::optional<CommitRecord> firstOfChange;
    ChangeTimeline::read(
        repository, changeFolder,
        [&](ChangeTimelineBatch &&batch) {
            for (const ChangeHistoryEvent &event : std::as_const(batch.entries)) {
                commits.insert(event.commit.sha, event.commit);
                firstOfChange = event.commit; // newest first: the last one is the first commit
            }
        },
        isCancelled);
    for (const QString &specification : specificationsNamedBy(repository.projectFolder(), changeFolder)) {
        if (isCancelled && isCancelled())
            return std::nullopt;
        FileHistory::read(
            repository, specification,
            [&commits](FileHistoryBatch &&batch) {
                for (const FileHistoryEntry &entry : std::as_const(batch.entries))
                    commits.insert(entry.commit.sha, entry.commit);
            },
            isCancelled);
    }

    std::optional<CommitRecord> beforeChange;
    if (firstOfChange)
        beforeChange = repository.commit(firstOfChange->sha + QStringLiteral("^"));
    QList<CommitRecord> ordered = commits.values();
    std::sort(ordered.begin(), ordered.end(), [](const CommitRecord &a, const CommitRecord &b) {
        return a.time != b.time ? a.time > b.time : a.sha < b.sha;
    });
    if (ordered.size() > maximumBaselines)
        ordered.resize(maximumBaselines);
    if (beforeChange && std::none_of(ordered.cbegin(), ordered.cend(),
                                     [&](const CommitRecord &c) { return c.sha == beforeChange->sha; })) {
        const auto after = std::find_if(ordered.begin(), ordered.end(),
                                        [&](const CommitRecord &c) { return c.time < beforeChange->time; });
        ordered.insert(after, *beforeChange);
    }
    QList<ReviewBaseline> baselines;
    for (const CommitRecord &commit : std::as_const(ordered)) {
        baselines.append(baselineOf(commit));
        baselines.last().beforeChange = beforeChange && commit.sha == beforeChange->sha;
    }
    return baselines;
}

QFuture<std::optional<QList<ReviewBaseline>>> ReviewHistory::startBaselines(const QUrl &root,
                                                                            const QUrl &changeFolder)
{
    return QtConcurrent::run(
        BackgroundPool::instance(),
        [](QPromise<std::optional<QList<ReviewBaseline>>> &promise, const QString &project,
           const QString &change) {
            promise.addResult(baselinesOf(project, change, [&promise] { return promise.isCanceled(); }));
        },
        QDir::cleanPath(root.toLocalFile()), QDir::cleanPath(changeFolder.toLocalFile()));
}

ReviewHistory::Comparison ReviewHistory::reviewAt(const FileSystem &fileSystem, const QUrl &root,
                                                  const QUrl &changeFolder, const QString &commit)
{
    if (!commit.isEmpty()) {
        const QString projectFolder = QDir::cleanPath(root.toLocalFile());
        const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
        if (opening.repository) {
            if (const std::optional<CommitRecord> record = opening.repository->commit(commit)) {
                const SnapshotFileSystem snapshot(fileSystem, projectFolder,
                                                  opening.repository->specificationsAt(record->sha));
                return {reviewChange(snapshot, root, changeFolder), baselineOf(*record)};
            }
        }
    }
    return {reviewChange(fileSystem, root, changeFolder), std::nullopt};
}

QFuture<ReviewHistory::Comparison> ReviewHistory::startReviewAt(const QUrl &root, const QUrl &changeFolder,
                                                                const QString &commit)
{
    return QtConcurrent::run(
        BackgroundPool::instance(),
        [](QPromise<Comparison> &promise, const QUrl &project, const QUrl &change, const QString &at) {
            if (promise.isCanceled())
                return; // another comparison was asked for before this one began
            promise.addResult(reviewAt(*ModelEnvironment::system().fileSystem, project, change, at));
        },
        root, changeFolder, commit);
}

QList<RequirementHistoryItem> ReviewHistory::itemsOf(const QList<RequirementHistoryEntry> &entries,
                                                     const QString &projectFolder)
{
    QList<RequirementHistoryItem> items;
    for (const RequirementHistoryEntry &entry : entries) {
        RequirementHistoryItem item{entry.commit.sha,     entry.commit.time,  entry.commit.author,
                                    entry.commit.subject, kindOf(entry.kind), QString(),
                                    std::nullopt};
        if (entry.archivedChanges.isEmpty()) {
            items.append(item);
            continue;
        }
        for (const QString &change : entry.archivedChanges) {
            item.archivedChange = QFileInfo(change).fileName();
            const QString folder = QDir::cleanPath(projectFolder + u'/' + change);
            item.changeFolder =
                QFileInfo(folder).isDir() ? std::optional(QUrl::fromLocalFile(folder)) : std::nullopt;
            items.append(item);
        }
    }
    return items;
}

void ReviewHistory::feed(RequirementHistoryPopup &popup, const QUrl &root, const QUrl &specification,
                         const QString &requirement)
{
    const QString projectFolder = QDir::cleanPath(root.toLocalFile());
    QFuture<RequirementHistoryBatch> future =
        RequirementHistory::start(projectFolder, specification.toLocalFile(), requirement);
    auto *watcher = new QFutureWatcher<RequirementHistoryBatch>(&popup);
    QObject::connect(watcher, &QFutureWatcherBase::resultReadyAt, &popup,
                     [&popup, watcher, projectFolder](int index) {
                         const RequirementHistoryBatch batch = watcher->resultAt(index);
                         popup.addItems(itemsOf(batch.entries, projectFolder));
                         if (batch.outcome)
                             popup.finish(messageOf(*batch.outcome));
                     });
    // The watcher goes with the popup; the read stops with it.
    QObject::connect(&popup, &QObject::destroyed, QCoreApplication::instance(),
                     [future]() mutable { future.cancel(); });
    watcher->setFuture(future);
}

} // namespace kestrune
