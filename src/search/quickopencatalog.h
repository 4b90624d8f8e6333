#pragma once

#include "project/treenode.h"
#include "search/quickopenentry.h"

#include <QList>
#include <QUrl>

namespace kestrune {

// The places of a project's outline quick open lists: every Markdown file by its path in the
// planning folder, every change (current and archived) by its name and every specification by
// its capability. A change opens at its proposal when it has one, else its folder is shown in the
// outline. Files that link out of the project are left out. In the outline's order.
class QuickOpenCatalog
{
public:
    QuickOpenCatalog() = delete;

    static QList<QuickOpenEntry> entriesOf(const QUrl &projectRoot, const TreeNode &tree);

private:
    static void collect(const QUrl &projectRoot, const TreeNode &node, QList<QuickOpenEntry> &entries);
};

} // namespace kestrune
