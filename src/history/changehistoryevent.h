#pragma once

#include "history/commitrecord.h"
#include "project/changeanalysis.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kestrune {

// What one commit did to a change's folder.
enum class ChangeEventKind
{
    created,  // the folder appeared (its files listed)
    edited,   // proposal, design, delta specifications or other files changed; tasks as they were
    tasks,    // the done or total tasks of tasks.md changed (other files may have changed too)
    archived, // the folder moved into changes/archive (or archived)
    renamed,  // the folder moved elsewhere, not into an archive
};

// "created", "edited", "tasks", "archived", "renamed".
QString rawValue(ChangeEventKind kind);
std::optional<ChangeEventKind> changeEventKindFromRawValue(QStringView raw);

// One entry of a change's timeline.
struct ChangeHistoryEvent
{
    CommitRecord commit;
    ChangeEventKind kind = ChangeEventKind::edited;
    // The files the commit added, changed or removed in the folder, relative to it, in path
    // order; on a move, those that differ between the old folder and the new.
    QStringList files;
    // Of `files`, those the commit added (every file of a created folder), in path order.
    QStringList addedFiles;
    // Counted as the dashboard counts them (countTasksInText), 0 of 0 without a tasks.md.
    TaskCount tasksBefore;
    TaskCount tasksAfter;
    // The change folder after the commit, and (archived, renamed) before it, relative to the
    // project folder: "kestrune/changes/archive/2026-05-02-add-tagging".
    QString folder;
    QString previousFolder;
};

} // namespace kestrune
