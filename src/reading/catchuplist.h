#pragma once

#include "reading/catchupentry.h"

#include <QList>

namespace kestrune {

struct ReadingMarks;
struct TreeNode;

// What the catch-up list shows of a project: every Markdown file its reading marks call changed
// or new, and every file seen and removed since, grouped by what it is in the planning folder
// (PlanningPath): a group per active change in the order of their names, then the
// specifications, then a group per archived change (the latest name first: archived folders
// begin with their date), then whatever else the project holds. Reads nothing from disk.
class CatchUpList
{
public:
    CatchUpList() = delete;

    static QList<CatchUpGroup> build(const TreeNode &tree, const ReadingMarks &marks);
    // How many files the groups list.
    static qsizetype entryCount(const QList<CatchUpGroup> &groups);
};

} // namespace kestrune
