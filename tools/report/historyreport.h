#pragma once

#include "history/changehistoryevent.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestrune {

// The timeline of one change in the project's git repository, for --history: {"change",
// "events": [{"commit", "time", "author", "subject", "kind", "tasksDone", "tasksTotal", "files"}]},
// oldest first; an archived or renamed event also names its "folder" and "previousFolder".
namespace HistoryReport {

struct Result
{
    QJsonObject json;   // empty when there is nothing to print
    QStringList errors; // what to say on standard error, one line each
    int exitStatus = 0; // 1 for an unknown change, a folder not in git or a partial timeline
};

// `folder` is the project folder (it holds "kestrune"), `change` as --review takes it.
Result timeline(const QString &folder, const QString &change);

QJsonObject timelineToJson(const QString &change, const QList<ChangeHistoryEvent> &oldestFirst);

} // namespace HistoryReport

} // namespace kestrune
