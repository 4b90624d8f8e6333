#include "project/projectscanner.h"

#include "project/planningpath.h"
#include "text/localizedstandardcompare.h"
#include "text/nativepath.h"
#include "text/textlines.h"

#include <QCollatorSortKey>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>

namespace kestrune {

namespace {

const QString kestruneFolderName = QStringLiteral("kestrune");
const QString changesFolderName = QStringLiteral("changes");
const QString specsFolderName = QStringLiteral("specs");
const std::array<QString, 2> archiveFolderNames = {QStringLiteral("archive"), QStringLiteral("archived")};
// The first entries at the top of the outline, in this order; every other name ranks after them.
const std::array<QString, 4> topLevelOrder = {QStringLiteral("changes"), QStringLiteral("archive"),
                                              QStringLiteral("archived"), QStringLiteral("specs")};

// A version 4 UUID; QRandomGenerator::global() is safe to use from parallel scans.
QUuid newNodeId()
{
    std::array<quint32, 4> words;
    QRandomGenerator::global()->fillRange(words.data(), words.size());
    QUuid id(words[0], quint16(words[1]), quint16(words[1] >> 16), uchar(words[2]), uchar(words[2] >> 8),
             uchar(words[2] >> 16), uchar(words[2] >> 24), uchar(words[3]), uchar(words[3] >> 8),
             uchar(words[3] >> 16), uchar(words[3] >> 24));
    id.data3 = quint16((id.data3 & 0x0FFF) | 0x4000);
    id.data4[0] = uchar((id.data4[0] & 0x3F) | 0x80);
    return id;
}

// QUrl::fromLocalFile(path). That escapes every '%' through a string search; a path without one
// (nearly every path) is set as it is instead, which makes the same URL.
QUrl fileUrl(const QString &path)
{
    if (!path.startsWith(u'/') || path.startsWith(QLatin1String("//")) || path.contains(u'%'))
        return QUrl::fromLocalFile(path);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(path, QUrl::TolerantMode);
    return url;
}

bool isMarkdownName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A name that is only an extension (".md") is hidden and never listed; "md" alone has none.
    if (dot <= 0)
        return false;
    return QStringView(name).sliced(dot + 1).compare(QLatin1String("md"), Qt::CaseInsensitive) == 0;
}

// Whether the path's components hold "changes" before the first "specs".
bool liesInChangeSpecs(QStringView path)
{
    qsizetype firstChanges = -1;
    qsizetype firstSpecs = -1;
    qsizetype index = 0;
    for (QStringView component : path.tokenize(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (firstChanges < 0 && component == changesFolderName)
            firstChanges = index;
        if (firstSpecs < 0 && component == specsFolderName)
            firstSpecs = index;
        ++index;
    }
    return firstChanges >= 0 && firstSpecs >= 0 && firstChanges < firstSpecs;
}

bool isArchiveFolderName(const QString &name)
{
    return PlanningPath::isArchiveFolderName(name);
}

int topLevelRank(const QString &name)
{
    const auto found = std::find(topLevelOrder.begin(), topLevelOrder.end(), name);
    return int(found - topLevelOrder.begin());
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The localized standard sort keys of names, each computed once: the same names ("tasks.md",
// "specs", ...) recur in every change folder.
class NameSortKeys
{
public:
    const QCollatorSortKey &of(const QString &name)
    {
        auto found = m_keys.find(name);
        if (found == m_keys.end())
            found = m_keys.emplace(name, localizedStandardSortKey(name)).first;
        return found->second;
    }

private:
    std::unordered_map<QString, QCollatorSortKey> m_keys;
};

// Stable sort: `group` decides between two nodes when it can; otherwise the localized standard
// order of their names does, through sort keys computed once per name.
template <typename Group>
void sortByNameKeys(std::vector<TreeNode> &nodes, Group group, NameSortKeys &sortKeys)
{
    if (nodes.size() < 2)
        return;
    std::vector<const QCollatorSortKey *> keys;
    keys.reserve(nodes.size());
    for (const TreeNode &node : nodes)
        keys.push_back(&sortKeys.of(node.name));
    std::vector<size_t> order(nodes.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t left, size_t right) {
        if (const std::optional<bool> decided = group(nodes[left], nodes[right]))
            return *decided;
        return keys[left]->compare(*keys[right]) < 0;
    });
    std::vector<TreeNode> sorted;
    sorted.reserve(nodes.size());
    for (size_t index : order)
        sorted.push_back(std::move(nodes[index]));
    nodes = std::move(sorted);
}

std::optional<bool> foldersFirst(const TreeNode &left, const TreeNode &right)
{
    const bool leftIsFile = left.kind == TreeNodeKind::markdownFile;
    const bool rightIsFile = right.kind == TreeNodeKind::markdownFile;
    if (leftIsFile != rightIsFile)
        return rightIsFile;
    return std::nullopt;
}

// The delta type a specification's lines declare: its first "ADDED", "MODIFIED" or "REMOVED"
// requirements heading. Later lines are skipped cheaply.
struct DeltaTypeDetector
{
    std::optional<DeltaSpecType> result;

    void visit(QStringView line)
    {
        static const QString added = QStringLiteral("## ADDED Requirements");
        static const QString modified = QStringLiteral("## MODIFIED Requirements");
        static const QString removed = QStringLiteral("## REMOVED Requirements");
        if (result)
            return;
        const QStringView content = TextLines::trimmed(line);
        if (!content.startsWith(QLatin1String("## ")))
            return;
        if (content == added)
            result = DeltaSpecType::added;
        else if (content == modified)
            result = DeltaSpecType::modified;
        else if (content == removed)
            result = DeltaSpecType::removed;
    }
};

std::optional<DeltaSpecType> detectDeltaTypeAtPath(const QString &path, const FileSystem &fileSystem)
{
    DeltaTypeDetector detector;
    if (fileSystem.forEachLine(path, [&detector](QStringView line) { detector.visit(line); }) !=
        FileReadError::none)
        return std::nullopt;
    return detector.result;
}

// Whether a symbolic link resolves to somewhere outside the project folder (or nowhere).
bool linksOutside(const DirectoryEntry &entry, const QString &projectFolder, const FileSystem &fileSystem)
{
    if (!entry.isSymbolicLink)
        return false;
    const std::optional<QString> target = fileSystem.canonicalPath(entry.path);
    const QString inside = projectFolder.endsWith(u'/') ? projectFolder : projectFolder + u'/';
    return !target || !target->startsWith(inside);
}

// What one scan of a folder tree shares between its folders. `projectFolder` is the project
// folder with its links resolved: files may link anywhere inside it.
struct FolderScan
{
    const QString &projectFolder;
    const FileSystem &fileSystem;
    NameSortKeys sortKeys;
};

// isArchivedPath(path) for a path below a folder whose answer is known: "archive" holds no
// slash, so it is in the folder's part of the path or in the rest.
bool isArchivedBelow(const QString &path, const QString &folder, bool folderArchived)
{
    if (!path.startsWith(folder))
        return isArchivedPath(path);
    return folderArchived || isArchivedPath(QStringView(path).sliced(folder.size()));
}

TreeNode markdownFileNode(const DirectoryEntry &entry, bool archived, const FolderScan &scan)
{
    TreeNode node;
    node.id = newNodeId();
    node.kind = TreeNodeKind::markdownFile;
    node.name = NativePath::displayName(entry.name);
    node.url = fileUrl(entry.path);
    node.modificationDate = scan.fileSystem.entryModificationDate(entry);
    node.isArchived = archived;
    node.linksOutsideProject = linksOutside(entry, scan.projectFolder, scan.fileSystem);
    if (liesInChangeSpecs(entry.path) && !node.linksOutsideProject)
        node.deltaType = detectDeltaTypeAtPath(entry.path, scan.fileSystem);
    return node;
}

std::optional<TreeNode> scanFolder(const QString &path, const QString &name, bool archived, FolderScan &scan)
{
    std::optional<std::vector<DirectoryEntry>> entries = scan.fileSystem.listDirectory(path);
    if (!entries)
        return std::nullopt;

    std::vector<TreeNode> children;
    children.reserve(entries->size());
    for (const DirectoryEntry &entry : *entries) {
        if (!entry.isDirectory)
            continue; // attributes unreadable: the entry is left out
        if (*entry.isDirectory) {
            if (std::optional<TreeNode> folder =
                    scanFolder(entry.path, entry.name, isArchivedBelow(entry.path, path, archived), scan))
                children.push_back(std::move(*folder));
        } else if (isMarkdownName(entry.name)) {
            children.push_back(markdownFileNode(entry, isArchivedBelow(entry.path, path, archived), scan));
        }
    }
    sortByNameKeys(children, foldersFirst, scan.sortKeys);

    TreeNode node;
    node.id = newNodeId();
    node.kind = name == kestruneFolderName ? TreeNodeKind::kestrune : TreeNodeKind::directory;
    node.name = NativePath::displayName(name);
    node.url = fileUrl(path);
    node.isArchived = archived;
    node.children = std::move(children);
    return node;
}

// Moves archive folders out of "changes" to the end of the top list.
void liftArchiveFolders(std::vector<TreeNode> &topList, NameSortKeys &sortKeys)
{
    const auto changes = std::find_if(topList.begin(), topList.end(),
                                      [](const TreeNode &node) { return node.name == changesFolderName; });
    if (changes == topList.end() || !changes->children)
        return;

    std::vector<TreeNode> archives;
    std::vector<TreeNode> others;
    for (TreeNode &child : *changes->children)
        (isArchiveFolderName(child.name) ? archives : others).push_back(std::move(child));
    if (archives.empty()) {
        *changes->children = std::move(others);
        return;
    }
    sortByNameKeys(others, foldersFirst, sortKeys);
    changes->children = std::move(others);
    for (TreeNode &archive : archives)
        topList.push_back(std::move(archive));
}

void sortTopList(std::vector<TreeNode> &topList, NameSortKeys &sortKeys)
{
    sortByNameKeys(
        topList,
        [](const TreeNode &left, const TreeNode &right) -> std::optional<bool> {
            const int leftRank = topLevelRank(left.name);
            const int rightRank = topLevelRank(right.name);
            if (leftRank != rightRank)
                return leftRank < rightRank;
            return std::nullopt;
        },
        sortKeys);
}

} // namespace

std::optional<TreeNode> buildTree(const QUrl &projectRoot, const ModelEnvironment &environment)
{
    const FileSystem &fileSystem = *environment.fileSystem;
    const QString rootPath = withoutTrailingSlash(projectRoot.toLocalFile());
    const QString kestrunePath =
        (rootPath == QLatin1String("/") ? rootPath : rootPath + QLatin1Char('/')) + kestruneFolderName;
    if (!fileSystem.isDirectory(kestrunePath))
        return std::nullopt;

    const QString projectFolder = fileSystem.canonicalPath(rootPath).value_or(rootPath);
    FolderScan scan{projectFolder, fileSystem, {}};
    std::vector<TreeNode> topList;
    if (std::optional<TreeNode> kestrune =
            scanFolder(kestrunePath, kestruneFolderName, isArchivedPath(kestrunePath), scan))
        topList = std::move(*kestrune->children);
    liftArchiveFolders(topList, scan.sortKeys);
    sortTopList(topList, scan.sortKeys);

    TreeNode root;
    root.id = newNodeId();
    root.kind = TreeNodeKind::projectRoot;
    root.name = NativePath::displayName(QUrl::fromLocalFile(rootPath).fileName());
    root.url = projectRoot;
    root.isArchived = false;
    root.children = std::move(topList);
    return root;
}

std::optional<TreeNode> scanDirectory(const QUrl &url, const QString &name,
                                      const ModelEnvironment &environment)
{
    const QString path = withoutTrailingSlash(url.toLocalFile());
    const FileSystem &fileSystem = *environment.fileSystem;
    const QString projectFolder = fileSystem.canonicalPath(path).value_or(path);
    FolderScan scan{projectFolder, fileSystem, {}};
    return scanFolder(path, name, isArchivedPath(path), scan);
}

std::optional<DeltaSpecType> detectDeltaType(const QUrl &fileURL, const ModelEnvironment &environment)
{
    return detectDeltaTypeAtPath(fileURL.toLocalFile(), *environment.fileSystem);
}

std::optional<DeltaSpecType> detectDeltaTypeInText(QStringView text)
{
    DeltaTypeDetector detector;
    TextLines::forEachLine(text, [&detector](QStringView line) { detector.visit(line); });
    return detector.result;
}

bool isArchivedPath(QStringView path)
{
    // "archived" contains "archive", so one search answers for both names.
    return path.contains(archiveFolderNames[0], Qt::CaseInsensitive);
}

void orderChildren(std::vector<TreeNode> &nodes)
{
    NameSortKeys sortKeys;
    sortByNameKeys(nodes, foldersFirst, sortKeys);
}

} // namespace kestrune
