#include "search/requirementindex.h"

#include "project/projectstore.h"
#include "project/regularfilereader.h"
#include "review/specificationdocument.h"
#include "text/backgroundthread.h"
#include "text/headingidentifier.h"
#include "text/textlines.h"

#include <QFutureWatcher>
#include <QtConcurrent/qtconcurrentrun.h>

#include <algorithm>
#include <vector>

namespace kestrune {

namespace {

// The Markdown files of an outline in its order (folders before files, as the scanner sorts).
void collectFiles(const TreeNode &node, std::vector<const TreeNode *> &files)
{
    if (node.kind == TreeNodeKind::markdownFile) {
        files.push_back(&node);
        return;
    }
    if (node.children) {
        for (const TreeNode &child : *node.children)
            collectFiles(child, files);
    }
}

} // namespace

RequirementIndex::RequirementIndex(QObject *parent) : QObject(parent)
{
    // One thread: the index is background work and must leave the other cores to the window.
    m_pool.setMaxThreadCount(1);
}

RequirementIndex::~RequirementIndex()
{
    for (const Project &project : std::as_const(m_projects)) {
        if (project.cancel)
            project.cancel->store(true);
    }
    m_pool.waitForDone();
}

void RequirementIndex::follow(const ProjectStore &store)
{
    // A load that finishes after its project was removed still publishes: not indexed.
    connect(&store, &ProjectStore::treeByProjectChanged, this, [this, &store](const QUrl &root) {
        if (store.projectRoots().contains(root))
            updateProject(root, store.treeForProject(root));
    });
    connect(&store, &ProjectStore::projectRootsChanged, this, [this, &store] {
        const QList<QUrl> indexed = m_projects.keys();
        for (const QUrl &root : indexed) {
            if (!store.projectRoots().contains(root))
                removeProject(root);
        }
    });
    for (const QUrl &root : store.projectRoots()) {
        if (const ProjectStore::TreePointer tree = store.treeForProject(root))
            updateProject(root, tree);
    }
}

void RequirementIndex::updateProject(const QUrl &root, std::shared_ptr<const TreeNode> tree)
{
    if (!tree)
        return;
    Project &project = m_projects[root];
    if (project.running) {
        project.pending = std::move(tree);
        return;
    }
    start(root, tree);
}

void RequirementIndex::start(const QUrl &root, const std::shared_ptr<const TreeNode> &tree)
{
    Project &project = m_projects[root];
    project.running = true;
    project.pending.reset();
    auto cancel = std::make_shared<std::atomic_bool>(false);
    project.cancel = cancel;
    auto *watcher = new QFutureWatcher<Update>(this);
    connect(watcher, &QFutureWatcher<Update>::finished, this, [this, watcher, root, cancel] {
        watcher->deleteLater();
        finish(root, cancel, watcher->result());
    });
    // The task holds what it reads: the tree (shared, immutable) and a copy of the table.
    watcher->setFuture(QtConcurrent::run(&m_pool, [root, tree, previous = project.files, cancel] {
        BackgroundThread::yieldToWindow(); // the pool's own thread: the window paints meanwhile
        return index(root, *tree, previous, *cancel);
    }));
}

void RequirementIndex::finish(const QUrl &root, const std::shared_ptr<std::atomic_bool> &cancel,
                              Update update)
{
    const auto found = m_projects.find(root);
    if (found == m_projects.end() || found->cancel != cancel)
        return; // removed meanwhile
    Project &project = *found;
    project.running = false;
    if (!update.cancelled) {
        project.files = std::move(update.files);
        project.entries = std::move(update.entries);
        project.filesRead = update.filesRead;
    }
    if (std::shared_ptr<const TreeNode> next = std::move(project.pending))
        start(root, next);
    if (!update.cancelled)
        Q_EMIT projectIndexed(root);
}

void RequirementIndex::removeProject(const QUrl &root)
{
    const auto found = m_projects.find(root);
    if (found == m_projects.end())
        return;
    if (found->cancel)
        found->cancel->store(true);
    m_projects.erase(found);
}

QList<QuickOpenEntry> RequirementIndex::entries() const
{
    QList<QUrl> roots = m_projects.keys();
    std::sort(roots.begin(), roots.end(),
              [](const QUrl &left, const QUrl &right) { return left.toString() < right.toString(); });
    QList<QuickOpenEntry> all;
    for (const QUrl &root : roots)
        all += m_projects.value(root).entries;
    return all;
}

QList<QuickOpenEntry> RequirementIndex::entriesOf(const QUrl &root) const
{
    return m_projects.value(root).entries;
}

bool RequirementIndex::isIndexing(const QUrl &root) const
{
    return m_projects.value(root).running;
}

int RequirementIndex::filesReadLastTime(const QUrl &root) const
{
    return m_projects.value(root).filesRead;
}

RequirementIndex::Update RequirementIndex::index(const QUrl &root, const TreeNode &tree,
                                                 const FileTable &previous, const std::atomic_bool &cancel)
{
    Update update;
    std::vector<const TreeNode *> files;
    collectFiles(tree, files);
    for (const TreeNode *file : files) {
        if (cancel.load(std::memory_order_relaxed)) {
            update.cancelled = true;
            return update;
        }
        if (file->linksOutsideProject)
            continue;
        const PlanningPath path = PlanningPath::of(PlanningPath::relativeTo(root, file->url), false);
        if (!path.holdsRequirements())
            continue;
        const auto known = previous.constFind(file->url);
        if (known != previous.cend() && file->modificationDate && known->modified == file->modificationDate) {
            update.files.insert(file->url, *known);
            update.entries += known->entries;
            continue;
        }
        ++update.filesRead;
        const std::optional<QList<QuickOpenEntry>> entries = readFile(root, *file, path);
        if (!entries)
            continue; // gone, or unreadable now: tried again with the next outline
        update.files.insert(file->url, {file->modificationDate, *entries});
        update.entries += *entries;
    }
    return update;
}

std::optional<QList<QuickOpenEntry>> RequirementIndex::readFile(const QUrl &root, const TreeNode &file,
                                                                const PlanningPath &path)
{
    const RegularFileReader::Content content = RegularFileReader::read(file.url.toLocalFile(), largestFile);
    if (content.error == FileReadError::tooLarge || content.error == FileReadError::notRegularFile)
        return QList<QuickOpenEntry>(); // will not change into a specification: no need to try again
    if (content.error != FileReadError::none)
        return std::nullopt;
    if (content.bytes.contains('\0'))
        return QList<QuickOpenEntry>();
    const std::optional<QString> text = TextLines::decodeUtf8(content.bytes);
    if (!text)
        return QList<QuickOpenEntry>();
    return entriesOfText(*text, root, file.url, path);
}

QList<QuickOpenEntry> RequirementIndex::entriesOfText(QStringView text, const QUrl &root, const QUrl &file,
                                                      const PlanningPath &path)
{
    const SpecificationDocument document = SpecificationDocument::parse(text);
    const bool isDelta = path.kind == PlanningPath::Kind::deltaSpecification;
    const qsizetype slash = path.relativePath.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : path.relativePath.first(slash);
    QList<QuickOpenEntry> entries;
    for (const SpecificationSection &section : document.sections) {
        for (const RequirementBlock &block : section.requirements) {
            const QString name =
                SpecificationDocument::requirementKey(HeadingIdentifier::plainText(block.name));
            if (name.isEmpty())
                continue;
            QuickOpenEntry entry;
            entry.kind = QuickOpenEntry::Kind::requirement;
            entry.title = name;
            entry.matchText = name;
            entry.folder = folder;
            entry.change = path.change;
            entry.capability = path.capability;
            entry.projectRoot = root;
            entry.target = file;
            entry.fragment = block.identifier;
            entry.isArchived = path.isArchived;
            if (isDelta)
                entry.deltaType = deltaTypeOf(section.kind);
            entries.append(entry);
        }
    }
    return entries;
}

} // namespace kestrune
