#include "historyreport.h"

#include "history/changetimeline.h"
#include "history/historyrepository.h"
#include "project/changelookup.h"
#include "project/localfilesystem.h"

#include <QJsonArray>

#include <algorithm>

namespace kestrune::HistoryReport {

Result timeline(const QString &folder, const QString &change)
{
    Result result;
    result.exitStatus = 1;
    const ChangeLookup lookup =
        ChangeLookup::find(*LocalFileSystem::shared(), QUrl::fromLocalFile(folder), change);
    if (!lookup.folder) {
        QString error = QStringLiteral("%1 has no change named \"%2\"").arg(folder, change);
        if (!lookup.candidates.isEmpty())
            error += QStringLiteral("; it may mean ") + lookup.candidates.join(QLatin1String(", "));
        result.errors.append(error);
        return result;
    }
    const HistoryRepository::Opening opening = HistoryRepository::open(folder);
    if (!opening.repository) {
        result.errors.append(QStringLiteral("%1 has no history: %2").arg(folder, opening.message));
        return result;
    }
    QList<ChangeHistoryEvent> events;
    const HistoryOutcome outcome =
        ChangeTimeline::read(*opening.repository, lookup.folder->toLocalFile(),
                             [&events](ChangeTimelineBatch &&batch) { events += batch.entries; });
    std::reverse(events.begin(), events.end());
    const QString name = lookup.folder->fileName();
    result.json = timelineToJson(name, events);
    result.errors = outcome.messages;
    result.exitStatus = outcome.isPartial() ? 1 : 0;
    return result;
}

QJsonObject timelineToJson(const QString &change, const QList<ChangeHistoryEvent> &oldestFirst)
{
    QJsonArray events;
    for (const ChangeHistoryEvent &event : oldestFirst) {
        QJsonObject object{
            {QStringLiteral("commit"), event.commit.sha},
            {QStringLiteral("time"), event.commit.time.toString(Qt::ISODate)},
            {QStringLiteral("author"), event.commit.author},
            {QStringLiteral("subject"), event.commit.subject},
            {QStringLiteral("kind"), rawValue(event.kind)},
            {QStringLiteral("tasksDone"), event.tasksAfter.done},
            {QStringLiteral("tasksTotal"), event.tasksAfter.total},
            {QStringLiteral("files"), QJsonArray::fromStringList(event.files)},
        };
        if (!event.previousFolder.isEmpty()) {
            object.insert(QStringLiteral("folder"), event.folder);
            object.insert(QStringLiteral("previousFolder"), event.previousFolder);
        }
        events.append(object);
    }
    return {{QStringLiteral("change"), change}, {QStringLiteral("events"), events}};
}

} // namespace kestrune::HistoryReport
