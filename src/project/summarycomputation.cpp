#include "project/summarycomputation.h"

#include "project/calendardays.h"
#include "project/changeanalysis.h"
#include "project/planningpath.h"
#include "project/specificationlinereader.h"
#include "text/plainstringorder.h"
#include "text/textlines.h"

#include <QDir>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace kestrune {

namespace {

const QString changesName = QStringLiteral("changes");
const QString specsName = QStringLiteral("specs");
const QString kestruneName = QStringLiteral("kestrune");
const QString modulePlaceholder = QStringLiteral("\u2014");
constexpr qsizetype recentChangesLimit = 20;

// The working state of one summary computation.
class SummaryWalk
{
public:
    explicit SummaryWalk(const ModelEnvironment &environment)
        : m_environment(environment), m_now(environment.now().toTimeZone(m_timeZone))
    {}

    void walkTree(const TreeNode &node, QStringList &ancestors);
    ProjectSummary finish(const TreeNode &root);

private:
    void walkFolder(const TreeNode &node, QStringList &ancestors);
    void visitMarkdownFile(const TreeNode &node, const QStringList &ancestors);
    void ageChangeFile(const TreeNode &node, const QStringList &ancestors);
    void walkChildren(const TreeNode &node, QStringList &ancestors);

    const ModelEnvironment &m_environment;
    const QTimeZone m_timeZone = QTimeZone::systemTimeZone();
    const QDateTime m_now; // one moment for the whole walk, already in the local time zone
    ProjectSummary m_summary;
    QList<ChangeItem> m_changeItems;
    ChangeCollection m_changes;
    QStringList m_specNames;
    // The file of each specification, found from the outline's own URLs: a name shown in the
    // outline may not spell the folder's name on disk (bytes that are not UTF-8 show as U+FFFD).
    QHash<QString, QUrl> m_specFiles;
    QString m_specsFolder;            // the project's own catalogue, whose files the summary counts
    QSet<QUrl> m_filesLinkingOutside; // never read
    QHash<QString, qint64> m_moduleSpecCounts;
    QHash<QString, qint64> m_moduleActiveCounts;
};

void SummaryWalk::walkTree(const TreeNode &node, QStringList &ancestors)
{
    switch (node.kind) {
    case TreeNodeKind::projectRoot:
        m_specsFolder = QDir::cleanPath(node.url.toLocalFile() + QLatin1String("/kestrune/specs"));
        m_summary.moduleCount = node.children ? qint64(node.children->size()) : 0;
        walkChildren(node, ancestors);
        break;
    case TreeNodeKind::kestrune:
    case TreeNodeKind::directory:
        walkFolder(node, ancestors);
        break;
    case TreeNodeKind::markdownFile:
        if (node.linksOutsideProject)
            m_filesLinkingOutside.insert(node.url);
        visitMarkdownFile(node, ancestors);
        break;
    }
    ageChangeFile(node, ancestors);
}

void SummaryWalk::walkChildren(const TreeNode &node, QStringList &ancestors)
{
    if (!node.children)
        return;
    ancestors.append(node.name);
    for (const TreeNode &child : *node.children)
        walkTree(child, ancestors);
    ancestors.removeLast();
}

void SummaryWalk::walkFolder(const TreeNode &node, QStringList &ancestors)
{
    static const std::vector<TreeNode> noChildren;
    const std::vector<TreeNode> &children = node.children ? *node.children : noChildren;

    if (node.name == changesName)
        collectChanges(children, false, m_changes, m_environment);
    if (PlanningPath::isArchiveFolderName(node.name))
        collectChanges(children, true, m_changes, m_environment);

    const bool isCatalogueFolder = node.name == specsName && !ancestors.isEmpty() &&
                                   (ancestors.size() == 1 || ancestors.last() == kestruneName ||
                                    (ancestors.size() == 2 && ancestors.at(1) == specsName));
    if (isCatalogueFolder) {
        const bool projectCatalogue = QDir::cleanPath(node.url.toLocalFile()) == m_specsFolder;
        QStringList names;
        for (const TreeNode &child : children) {
            if (child.kind == TreeNodeKind::markdownFile && child.name.endsWith(QLatin1String(".md"))) {
                names.append(child.name.chopped(3));
                if (projectCatalogue)
                    m_specFiles.insert(names.last(), child.url);
            }
        }
        // A folder's spec.md comes before a file of the same name.
        for (const TreeNode &child : children) {
            if (child.kind != TreeNodeKind::directory)
                continue;
            names.append(child.name);
            const QString inFolder = child.url.toLocalFile() + QLatin1String("/spec.md");
            if (projectCatalogue && m_environment.fileSystem->exists(inFolder))
                m_specFiles.insert(child.name, QUrl::fromLocalFile(inFolder));
        }
        std::sort(names.begin(), names.end(),
                  [](const QString &a, const QString &b) { return plainStringLess(a, b); });
        m_specNames.append(names);
    }

    walkChildren(node, ancestors);
}

void SummaryWalk::visitMarkdownFile(const TreeNode &node, const QStringList &ancestors)
{
    ++m_summary.totalSpecFiles;
    if (node.deltaType) {
        ++m_summary.deltaSpecFiles;
        switch (*node.deltaType) {
        case DeltaSpecType::added:
            ++m_summary.addedCount;
            break;
        case DeltaSpecType::modified:
            ++m_summary.modifiedCount;
            break;
        case DeltaSpecType::removed:
            ++m_summary.removedCount;
            break;
        }
    }

    if (ancestors.contains(changesName)) {
        QString module = modulePlaceholder;
        for (const QString &name : ancestors) {
            if (name != kestruneName && name != changesName) {
                module = name;
                break;
            }
        }
        m_changeItems.append(
            ChangeItem{node.id, node.name, node.deltaType, node.modificationDate, node.isArchived, module});
        if (!node.isArchived)
            ++m_moduleActiveCounts[module];
    }

    if (ancestors.size() >= 2)
        ++m_moduleSpecCounts[ancestors.at(1)];
}

void SummaryWalk::ageChangeFile(const TreeNode &node, const QStringList &ancestors)
{
    if (node.isArchived || !node.modificationDate || !ancestors.contains(changesName))
        return;
    const qint64 days = wholeDaysBetween(*node.modificationDate, m_now, m_timeZone);
    if (!m_summary.oldestUnarchivedDays || *m_summary.oldestUnarchivedDays < days)
        m_summary.oldestUnarchivedDays = days;
    if (days > 30) {
        ++m_summary.unarchivedOver30Days;
        if (days > 60)
            ++m_summary.unarchivedOver60Days;
    }
}

// The requirements of a specification file, read a line at a time as the review reads them; none
// when it cannot be read.
qint64 countRequirementsInFile(const QUrl &url, const FileSystem &fileSystem)
{
    SpecificationLineReader reader;
    qint64 count = 0;
    const FileReadError error =
        fileSystem.forEachLine(url.toLocalFile(), [&reader, &count](QStringView line) {
            if (reader.readsRequirement(line))
                ++count;
        });
    return error == FileReadError::none ? count : 0;
}

ProjectSummary SummaryWalk::finish(const TreeNode &root)
{
    ProjectSummary summary = std::move(m_summary);

    // Newest first; an absent date sorts as the earliest, and equal dates keep walk order.
    std::stable_sort(m_changeItems.begin(), m_changeItems.end(),
                     [](const ChangeItem &left, const ChangeItem &right) {
                         if (!right.updatedAt)
                             return bool(left.updatedAt);
                         return left.updatedAt && *left.updatedAt > *right.updatedAt;
                     });
    summary.recentChanges = m_changeItems.mid(0, recentChangesLimit);

    summary.changeSummaries = std::move(m_changes.summaries);
    summary.totalChanges = summary.changeSummaries.size();
    for (const ChangeSummary &change : std::as_const(summary.changeSummaries)) {
        switch (change.status) {
        case ChangeStatus::active:
            ++summary.activeChanges;
            break;
        case ChangeStatus::archived:
            ++summary.archivedChanges;
            break;
        case ChangeStatus::draft:
            ++summary.draftCount;
            break;
        case ChangeStatus::completed:
            break;
        }
    }

    summary.specNames = m_specNames;
    summary.specCount = summary.specNames.size();
    qint64 requirementTotal = 0;
    for (const QString &name : std::as_const(summary.specNames)) {
        if (summary.specRequirementCounts.contains(name))
            continue;
        qint64 count = 0;
        const std::optional<QUrl> file = m_specFiles.contains(name)
                                             ? std::optional<QUrl>(m_specFiles.value(name))
                                             : specFileURL(root.url, name, m_environment);
        if (file && !m_filesLinkingOutside.contains(*file))
            count = countRequirementsInFile(*file, *m_environment.fileSystem);
        summary.specRequirementCounts.insert(name, count);
        requirementTotal += count;
    }
    summary.specReqsCount = requirementTotal;

    QStringList moduleNames = m_moduleSpecCounts.keys();
    std::sort(moduleNames.begin(), moduleNames.end(),
              [](const QString &a, const QString &b) { return plainStringLess(a, b); });
    for (const QString &name : std::as_const(moduleNames))
        summary.moduleStats.append(
            ModuleStat{name, m_moduleSpecCounts.value(name), m_moduleActiveCounts.value(name, 0)});
    return summary;
}

} // namespace

ProjectSummary computeSummary(const TreeNode &root, const ModelEnvironment &environment)
{
    SummaryWalk walk(environment);
    QStringList ancestors;
    walk.walkTree(root, ancestors);
    return walk.finish(root);
}

std::optional<QUrl> specFileURL(const QUrl &projectRoot, const QString &specName,
                                const ModelEnvironment &environment)
{
    return specFileURL(projectRoot, specName, *environment.fileSystem);
}

std::optional<QUrl> specFileURL(const QUrl &projectRoot, const QString &specName,
                                const FileSystem &fileSystem)
{
    QString folder = projectRoot.toLocalFile();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    folder += QLatin1String("kestrune/specs/");
    const QString inFolder = folder + specName + QLatin1String("/spec.md");
    if (fileSystem.exists(inFolder))
        return QUrl::fromLocalFile(inFolder);
    const QString asFile = folder + specName + QLatin1String(".md");
    if (fileSystem.exists(asFile))
        return QUrl::fromLocalFile(asFile);
    return std::nullopt;
}

qint64 countRequirements(QStringView text)
{
    SpecificationLineReader reader;
    qint64 count = 0;
    TextLines::forEachLine(text, [&reader, &count](QStringView line) {
        if (reader.readsRequirement(line))
            ++count;
    });
    return count;
}

} // namespace kestrune
