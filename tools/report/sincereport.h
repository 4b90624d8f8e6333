#pragma once

#include "project/planningpath.h"
#include "project/treenode.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace kestrune {

// The command line's "what changed since": the Markdown files of a project's planning folder
// whose content was modified after a given moment, read from the outline's modification dates
// alone, as {"since": DATE, "files": [FILE, ...]}. A FILE is {"path", "modificationDate", "kind",
// "change", "archived"}: the absolute path, the date (as the tree report writes dates), what the
// file is (kindName), the folder name of the change it belongs to (or null) and whether that
// change is archived. Newest first; files of the same moment by path.
namespace SinceReport {

// A moment named in ISO 8601: a date ("2025-03-03", the start of that day), or a date and time
// ("2025-03-03T10:00", seconds and fractions optional) with or without an offset ("Z",
// "+02:00"). Without an offset the time is local time. Nothing for any other text.
std::optional<QDateTime> parseMoment(const QString &text);

// "proposal", "design" and "tasks" for those files of a change folder, "deltaSpecification",
// "specification" (any Markdown file below the current "specs" folder) or "other".
QString kindName(const PlanningPath &path);

QJsonObject filesModifiedAfter(const TreeNode &tree, const QDateTime &since);

} // namespace SinceReport

} // namespace kestrune
