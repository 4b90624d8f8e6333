#include "project/treenodelookup.h"

#include "project/planningpath.h"

#include <QDir>
#include <QRegularExpression>

namespace kestrune {

namespace {

QString cleanLocalPath(const QUrl &url)
{
    return QDir::cleanPath(url.toLocalFile());
}

// Whether an archive folder's name is the change's name, or a date followed by it.
bool namesArchivedChange(const QString &folderName, const QString &change)
{
    static const QRegularExpression datePrefix(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-"));
    if (folderName == change)
        return true;
    const QRegularExpressionMatch match = datePrefix.match(folderName);
    return match.hasMatch() && QStringView(folderName).mid(match.capturedLength()) == change;
}

} // namespace

const TreeNode *findNodeAtPath(const TreeNode &node, const QString &path)
{
    const QString nodePath = cleanLocalPath(node.url);
    if (nodePath == path)
        return &node;
    const bool below = path.startsWith(nodePath) &&
                       (nodePath.endsWith(QLatin1Char('/')) || path.at(nodePath.size()) == QLatin1Char('/'));
    if (!node.children || !below)
        return nullptr;
    for (const TreeNode &child : *node.children) {
        if (const TreeNode *found = findNodeAtPath(child, path))
            return found;
    }
    return nullptr;
}

const TreeNode *findArchivedCounterpart(const TreeNode &tree, const QUrl &fileUrl)
{
    const QString changes = cleanLocalPath(tree.url) + QLatin1String("/kestrune/changes/");
    const QString path = cleanLocalPath(fileUrl);
    if (!path.startsWith(changes))
        return nullptr;
    const QString inChanges = path.mid(changes.size());
    const qsizetype slash = inChanges.indexOf(QLatin1Char('/'));
    if (slash <= 0)
        return nullptr;
    const QString change = inChanges.left(slash);
    const QString inChange = inChanges.mid(slash); // from the slash on
    if (PlanningPath::isArchiveFolderName(change) || !tree.children)
        return nullptr;
    // The outline lifts the archive folders out of "changes" to its top; their nodes keep their
    // paths.
    std::vector<const TreeNode *> folders;
    for (const TreeNode &archive : *tree.children) {
        const QString path = cleanLocalPath(archive.url);
        if (!archive.children || !PlanningPath::isArchiveFolderName(archive.name) ||
            !path.startsWith(changes) || path.indexOf(QLatin1Char('/'), changes.size()) >= 0)
            continue;
        for (const TreeNode &folder : *archive.children)
            folders.push_back(&folder);
    }
    for (const TreeNode *folder : folders) {
        if (!folder->isFolder() || !namesArchivedChange(folder->name, change))
            continue;
        if (const TreeNode *found = findNodeAtPath(*folder, cleanLocalPath(folder->url) + inChange))
            return found;
    }
    return nullptr;
}

} // namespace kestrune
