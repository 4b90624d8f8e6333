#include "project/changeeventdetector.h"

#include "project/changelookup.h"

#include <QHash>
#include <QSet>

namespace kestrune {

namespace {

bool isArchived(const ChangeSummary &change)
{
    return change.status == ChangeStatus::archived;
}

} // namespace

bool ChangeEventDetector::hasAllTasksDone(const ChangeSummary &change)
{
    // The percentage is rounded down: 100 only once the last task is ticked.
    return change.hasTasks && change.taskProgressPercent == 100;
}

QList<ChangeEvent> ChangeEventDetector::between(const ProjectSummary &before, const ProjectSummary &after)
{
    QHash<QString, const ChangeSummary *> activeBefore;
    QSet<QUrl> archivedBefore;
    for (const ChangeSummary &change : before.changeSummaries) {
        if (isArchived(change))
            archivedBefore.insert(change.changeDirectoryURL);
        else
            activeBefore.insert(change.changeName, &change);
    }
    QSet<QString> activeAfter;
    for (const ChangeSummary &change : after.changeSummaries) {
        if (!isArchived(change))
            activeAfter.insert(change.changeName);
    }

    QList<ChangeEvent> events;
    for (const ChangeSummary &change : after.changeSummaries) {
        if (isArchived(change)) {
            if (archivedBefore.contains(change.changeDirectoryURL))
                continue;
            // The change it was: same name, or the name after the archive's date.
            QString name = change.changeName;
            if (!activeBefore.contains(name))
                name = ChangeLookup::undatedName(name).value_or(QString());
            if (!name.isEmpty() && activeBefore.contains(name) && !activeAfter.contains(name))
                events.append({ChangeEvent::Kind::archived, name, change.changeDirectoryURL});
            continue;
        }
        const ChangeSummary *earlier = activeBefore.value(change.changeName);
        if (!earlier)
            events.append({ChangeEvent::Kind::added, change.changeName, change.changeDirectoryURL});
        else if (hasAllTasksDone(change) && !hasAllTasksDone(*earlier))
            events.append({ChangeEvent::Kind::finished, change.changeName, change.changeDirectoryURL});
    }
    return events;
}

} // namespace kestrune
