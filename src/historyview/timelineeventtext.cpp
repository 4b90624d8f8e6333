#include "historyview/timelineeventtext.h"

#include "project/planningpath.h"
#include "text/daystring.h"
#include "ui/localization.h"

#include <QFileInfo>
#include <QStringList>

namespace kestrune::TimelineEventText {

namespace {

const QString proposalFile = QStringLiteral("proposal.md");
const QString designFile = QStringLiteral("design.md");
const QString tasksFile = QStringLiteral("tasks.md");

QString addedOrEdited(const ChangeHistoryEvent &event, const QString &file, const char *addedKey,
                      const char *editedKey)
{
    return Localization::text(event.addedFiles.contains(file) ? addedKey : editedKey);
}

// The capability of a delta specification (a path below the change's folder), else nothing.
QString capabilityOf(const QString &file)
{
    const PlanningPath path = PlanningPath::of(QStringLiteral("changes/change/") + file, false);
    return path.kind == PlanningPath::Kind::deltaSpecification ? path.capability : QString();
}

QString tasksProgress(const ChangeHistoryEvent &event)
{
    const char *key = event.tasksAfter.done > event.tasksBefore.done ? "history.event.tasks_ticked"
                                                                     : "history.event.tasks_changed";
    return Localization::text(key)
        .arg(event.tasksBefore.done)
        .arg(event.tasksAfter.done)
        .arg(event.tasksAfter.total);
}

// The parts an edit consists of, in the order a change is written: proposal, design, delta
// specifications, tasks, then whatever else.
QStringList editParts(const ChangeHistoryEvent &event)
{
    QStringList parts;
    if (event.files.contains(proposalFile))
        parts.append(addedOrEdited(event, proposalFile, "history.event.proposal_added",
                                   "history.event.proposal_edited"));
    if (event.files.contains(designFile))
        parts.append(
            addedOrEdited(event, designFile, "history.event.design_added", "history.event.design_edited"));
    QStringList capabilities;
    bool other = false;
    for (const QString &file : event.files) {
        const QString capability = capabilityOf(file);
        if (!capability.isEmpty() && !capabilities.contains(capability)) {
            capabilities.append(capability);
            parts.append(Localization::text(event.addedFiles.contains(file) ? "history.event.delta_added"
                                                                            : "history.event.delta_edited")
                             .arg(capability));
        } else if (capability.isEmpty() && file != proposalFile && file != designFile && file != tasksFile) {
            other = true;
        }
    }
    if (event.kind == ChangeEventKind::tasks)
        parts.append(tasksProgress(event));
    else if (event.files.contains(tasksFile))
        parts.append(
            addedOrEdited(event, tasksFile, "history.event.tasks_added", "history.event.tasks_edited"));
    if (other)
        parts.append(Localization::text(parts.isEmpty() ? "history.event.files_edited"
                                                        : "history.event.other_files_edited"));
    return parts;
}

} // namespace

QString whatItDid(const ChangeHistoryEvent &event)
{
    switch (event.kind) {
    case ChangeEventKind::created:
        return Localization::text("history.event.created");
    case ChangeEventKind::archived:
        return Localization::text("history.event.archived").arg(QFileInfo(event.folder).fileName());
    case ChangeEventKind::renamed:
        return Localization::text("history.event.moved").arg(QFileInfo(event.previousFolder).fileName());
    case ChangeEventKind::edited:
    case ChangeEventKind::tasks:
        break;
    }
    const QStringList parts = editParts(event);
    return parts.isEmpty() ? Localization::text("history.event.files_edited")
                           : parts.join(QStringLiteral(", "));
}

QString files(const ChangeHistoryEvent &event)
{
    // A move that changed no file says where from and where to instead.
    if (event.files.isEmpty() && !event.previousFolder.isEmpty())
        return event.previousFolder + QStringLiteral(" → ") + event.folder;
    return event.files.join(QStringLiteral(", "));
}

QString accessibleText(const ChangeHistoryEvent &event)
{
    QStringList parts = {dayString(event.commit.time), event.commit.author, event.commit.subject,
                         whatItDid(event)};
    if (!event.files.isEmpty())
        parts.append(Localization::text("history.row.files").arg(files(event)));
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace kestrune::TimelineEventText
