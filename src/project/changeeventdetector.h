#pragma once

#include "project/changeevent.h"
#include "project/projectsummary.h"

#include <QList>

namespace kestrune {

// What happened to a project's changes between two summaries of it, the earlier and the later:
// a change whose tasks all became done, a new change, a change archived. Changes are matched by
// folder, since node ids are drawn anew at every scan; an archived change is the active change
// of the same name that left the changes folder, its archive folder named as it was or with a
// date before the name. Anything else (a file edited, a task ticked while others stay open, a
// specification changed, a change removed) is no event. One event per change at most, in the
// order of the later summary.
class ChangeEventDetector
{
public:
    ChangeEventDetector() = delete;

    static QList<ChangeEvent> between(const ProjectSummary &before, const ProjectSummary &after);
    // Whether the change has a task list whose every task is done (and has at least one task).
    static bool hasAllTasksDone(const ChangeSummary &change);
};

} // namespace kestrune
