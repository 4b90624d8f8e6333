#include "reading/cardreadingfacts.h"

#include "project/changeanalysis.h"
#include "project/planningpath.h"
#include "project/regularfilereader.h"
#include "project/treenode.h"
#include "reading/readingpaths.h"
#include "reading/seenfacts.h"
#include "text/textlines.h"

#include <QSet>

#include <optional>

namespace kestrune {

namespace {

constexpr qint64 largestFactFile = qint64(64) << 20;

std::optional<QString> currentText(const TreeNode &file)
{
    if (file.linksOutsideProject)
        return std::nullopt;
    const RegularFileReader::Content content =
        RegularFileReader::read(file.url.toLocalFile(), largestFactFile);
    if (content.error != FileReadError::none)
        return std::nullopt;
    return TextLines::decodeUtf8(content.bytes);
}

class FactWalk
{
public:
    FactWalk(const ReadingRecord &record, const ReadingMarks &marks, QString rootPath,
             CardReadingFacts &facts)
        : m_record(record), m_marks(marks), m_rootPath(std::move(rootPath)), m_facts(facts)
    {}

    void visit(const TreeNode &node)
    {
        if (!node.children) {
            if (node.kind == TreeNodeKind::markdownFile)
                visitFile(node);
            return;
        }
        if (node.kind != TreeNodeKind::projectRoot) {
            const QString relativePath = ReadingPaths::relativeTo(m_rootPath, node.url);
            const auto planning = ReadingPaths::planningPathOf(relativePath, true);
            if (planning && planning->kind == PlanningPath::Kind::changeFolder) {
                visitChange(node, relativePath);
                return;
            }
        }
        for (const TreeNode &child : *node.children)
            visit(child);
    }

private:
    // Counts the change's files and those never seen, and looks at its specifications.
    void countFiles(const TreeNode &node, int &files, int &added)
    {
        if (!node.children) {
            if (node.kind != TreeNodeKind::markdownFile)
                return;
            ++files;
            if (m_marks.markOf(ReadingPaths::relativeTo(m_rootPath, node.url)).state == ReadingState::added)
                ++added;
            visitFile(node);
            return;
        }
        for (const TreeNode &child : *node.children)
            countFiles(child, files, added);
    }

    void visitChange(const TreeNode &node, const QString &relativePath)
    {
        ChangeReadingFacts change;
        change.relativePath = relativePath;
        int files = 0;
        int added = 0;
        countFiles(node, files, added);
        change.isNew = files > 0 && added == files;
        if (!change.isNew) {
            const QString taskList = relativePath + QStringLiteral("/tasks.md");
            for (const TreeNode &child : *node.children) {
                if (child.children || child.name != QLatin1String("tasks.md"))
                    continue;
                change.tasksDoneSinceLastLook = tasksDoneSince(child, taskList);
            }
        }
        m_facts.changes.insert(relativePath, change);
    }

    qint64 tasksDoneSince(const TreeNode &taskList, const QString &relativePath)
    {
        const FileReadingMark mark = m_marks.markOf(relativePath);
        if (mark.state == ReadingState::unchanged)
            return 0;
        const std::optional<QString> text = currentText(taskList);
        if (!text)
            return 0;
        const qint64 doneNow = countTasksInText(*text).done;
        qint64 doneThen = 0;
        if (mark.state == ReadingState::changed) {
            const std::optional<qint64> seen = m_record.files.value(relativePath).facts.tasksDone;
            if (!seen)
                return 0; // what was done then is not known
            doneThen = *seen;
        }
        return qMax<qint64>(0, doneNow - doneThen);
    }

    void visitFile(const TreeNode &node)
    {
        const QString relativePath = ReadingPaths::relativeTo(m_rootPath, node.url);
        const auto planning = ReadingPaths::planningPathOf(relativePath, false);
        if (!planning || planning->kind != PlanningPath::Kind::specification || !planning->isCapabilityFile)
            return;
        const FileReadingMark mark = m_marks.markOf(relativePath);
        if (mark.state == ReadingState::unchanged)
            return;
        SpecificationReadingFacts specification;
        specification.relativePath = relativePath;
        const std::optional<QString> text = currentText(node);
        const QStringList now = text ? SeenFacts::requirementNamesIn(*text) : QStringList();
        const std::optional<QStringList> then =
            mark.state == ReadingState::added ? std::optional(QStringList())
                                              : m_record.files.value(relativePath).facts.requirementNames;
        if (!text || !then) {
            specification.requirementsChanged = true;
        } else {
            const QSet<QString> before(then->cbegin(), then->cend());
            const QSet<QString> after(now.cbegin(), now.cend());
            for (const QString &name : now)
                if (!before.contains(name))
                    specification.addedRequirements.append(name);
            for (const QString &name : *then)
                if (!after.contains(name))
                    specification.removedRequirements.append(name);
            specification.requirementsChanged = now != *then;
        }
        if (specification.requirementsChanged)
            m_facts.specifications.insert(relativePath, specification);
    }

    const ReadingRecord &m_record;
    const ReadingMarks &m_marks;
    QString m_rootPath;
    CardReadingFacts &m_facts;
};

} // namespace

CardReadingFacts CardReadingFacts::compute(const TreeNode &tree, const ReadingRecord &record,
                                           const ReadingMarks &marks)
{
    CardReadingFacts facts;
    FactWalk walk(record, marks, ReadingPaths::rootPathOf(tree), facts);
    walk.visit(tree);
    return facts;
}

} // namespace kestrune
