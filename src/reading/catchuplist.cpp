#include "reading/catchuplist.h"

#include "project/planningpath.h"
#include "project/treenode.h"
#include "reading/readingmarks.h"
#include "reading/readingpaths.h"
#include "text/localizedstandardcompare.h"

#include <QHash>

#include <algorithm>

namespace kestrune {

namespace {

constexpr QStringView specificationsFolder = u"specs/";

struct GroupKey
{
    CatchUpGroup::Kind kind = CatchUpGroup::Kind::otherFiles;
    QString folder; // the change folder relative to the planning folder
    QString title;
};

// The group a file belongs to, and its name within it.
std::pair<GroupKey, QString> placeOf(const QString &relativePath)
{
    const std::optional<PlanningPath> planning = ReadingPaths::planningPathOf(relativePath, false);
    if (!planning)
        return {GroupKey{}, relativePath};
    if (!planning->change.isEmpty() && planning->relativePath.startsWith(planning->changeFolderPath + u'/')) {
        const auto kind =
            planning->isArchived ? CatchUpGroup::Kind::archivedChange : CatchUpGroup::Kind::change;
        return {GroupKey{kind, planning->changeFolderPath, planning->change},
                planning->relativePath.mid(planning->changeFolderPath.size() + 1)};
    }
    if (planning->relativePath.startsWith(specificationsFolder))
        return {GroupKey{CatchUpGroup::Kind::specifications, QString(), QString()},
                planning->relativePath.mid(specificationsFolder.size())};
    return {GroupKey{}, planning->relativePath};
}

class Collector
{
public:
    void add(const QString &relativePath, CatchUpEntry entry)
    {
        auto [key, name] = placeOf(relativePath);
        entry.relativePath = relativePath;
        entry.name = std::move(name);
        const QString id = QString::number(int(key.kind)) + u'/' + key.folder;
        auto it = m_groups.find(id);
        if (it == m_groups.end())
            it = m_groups.insert(id, CatchUpGroup{key.kind, key.title, {}});
        it->entries.append(std::move(entry));
    }

    QList<CatchUpGroup> take()
    {
        QList<CatchUpGroup> groups = m_groups.values();
        for (CatchUpGroup &group : groups)
            std::sort(group.entries.begin(), group.entries.end(),
                      [](const CatchUpEntry &left, const CatchUpEntry &right) {
                          return localizedStandardCompare(left.name, right.name) < 0;
                      });
        std::sort(groups.begin(), groups.end(), [](const CatchUpGroup &left, const CatchUpGroup &right) {
            if (left.kind != right.kind)
                return int(left.kind) < int(right.kind);
            const int order = localizedStandardCompare(left.title, right.title);
            return left.kind == CatchUpGroup::Kind::archivedChange ? order > 0 : order < 0;
        });
        return groups;
    }

private:
    QHash<QString, CatchUpGroup> m_groups;
};

void collect(const TreeNode &node, const QString &rootPath, const ReadingMarks &marks, Collector &into)
{
    if (node.children) {
        for (const TreeNode &child : *node.children)
            collect(child, rootPath, marks, into);
        return;
    }
    if (node.kind != TreeNodeKind::markdownFile)
        return;
    const QString relativePath = ReadingPaths::relativeTo(rootPath, node.url);
    const auto mark = marks.files.constFind(relativePath);
    if (relativePath.isEmpty() || mark == marks.files.cend() || mark->state == ReadingState::unchanged)
        return;
    CatchUpEntry entry;
    entry.change =
        mark->state == ReadingState::added ? CatchUpEntry::Change::added : CatchUpEntry::Change::changed;
    entry.url = node.url;
    entry.modificationDate = node.modificationDate;
    entry.hasSeenText = mark->hasSeenText && !node.linksOutsideProject;
    into.add(relativePath, std::move(entry));
}

} // namespace

QList<CatchUpGroup> CatchUpList::build(const TreeNode &tree, const ReadingMarks &marks)
{
    Collector collector;
    if (marks.files.isEmpty() && marks.removed.isEmpty())
        return {};
    collect(tree, ReadingPaths::rootPathOf(tree), marks, collector);
    for (const RemovedFile &removed : marks.removed) {
        CatchUpEntry entry;
        entry.change = CatchUpEntry::Change::removed;
        entry.hasSeenText = removed.hasSeenText;
        collector.add(removed.relativePath, std::move(entry));
    }
    return collector.take();
}

qsizetype CatchUpList::entryCount(const QList<CatchUpGroup> &groups)
{
    qsizetype count = 0;
    for (const CatchUpGroup &group : groups)
        count += group.entries.size();
    return count;
}

} // namespace kestrune
