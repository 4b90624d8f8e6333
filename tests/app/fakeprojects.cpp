#include "fakeprojects.h"

namespace kestrune {

namespace {

TreeNode node(TreeNodeKind kind, const QString &name, const QUrl &url)
{
    TreeNode result;
    result.id = QUuid::createUuid();
    result.kind = kind;
    result.name = name;
    result.url = url;
    if (kind != TreeNodeKind::markdownFile)
        result.children = std::vector<TreeNode>{};
    return result;
}

QUrl child(const QUrl &parent, const QString &name)
{
    return QUrl::fromLocalFile(parent.toLocalFile() + QLatin1Char('/') + name);
}

} // namespace

ProjectStore::Loader FakeProjects::loader()
{
    // The loader keeps the fake alive for as long as a load may run.
    return [self = shared_from_this()](const QUrl &root) { return self->load(root); };
}

void FakeProjects::hold(const QUrl &root)
{
    QMutexLocker lock(&m_mutex);
    m_held.insert(root);
}

void FakeProjects::release(const QUrl &root)
{
    QMutexLocker lock(&m_mutex);
    m_held.remove(root);
    m_released.wakeAll();
}

void FakeProjects::releaseAll()
{
    QMutexLocker lock(&m_mutex);
    m_held.clear();
    m_released.wakeAll();
}

std::optional<ProjectStore::LoadResult> FakeProjects::load(const QUrl &root)
{
    ++m_loads;
    {
        QMutexLocker lock(&m_mutex);
        while (m_held.contains(root))
            m_released.wait(&m_mutex);
    }
    return makeProject(root);
}

ProjectStore::LoadResult FakeProjects::makeProject(const QUrl &root)
{
    const QUrl kestrune = child(root, QStringLiteral("kestrune"));
    TreeNode tree = node(TreeNodeKind::projectRoot, ProjectStore::folderName(root), root);
    TreeNode changes =
        node(TreeNodeKind::directory, QStringLiteral("changes"), child(kestrune, QStringLiteral("changes")));
    TreeNode change = node(TreeNodeKind::directory, QStringLiteral("add-login"),
                           child(changes.url, QStringLiteral("add-login")));
    TreeNode proposal = node(TreeNodeKind::markdownFile, QStringLiteral("proposal.md"),
                             child(change.url, QStringLiteral("proposal.md")));
    TreeNode specs =
        node(TreeNodeKind::directory, QStringLiteral("specs"), child(change.url, QStringLiteral("specs")));
    TreeNode delta = node(TreeNodeKind::markdownFile, QStringLiteral("spec.md"),
                          child(specs.url, QStringLiteral("spec.md")));
    delta.deltaType = DeltaSpecType::added;
    TreeNode top = node(TreeNodeKind::markdownFile, QStringLiteral("project.md"),
                        child(kestrune, QStringLiteral("project.md")));

    ProjectSummary summary;
    ChangeSummary analysed;
    analysed.id = change.id;
    analysed.changeName = change.name;
    analysed.changeDirectoryURL = change.url;
    analysed.status = ChangeStatus::active;
    summary.changeSummaries.append(analysed);
    summary.totalChanges = 1;
    summary.activeChanges = 1;

    specs.children->push_back(delta);
    change.children->push_back(proposal);
    change.children->push_back(specs);
    changes.children->push_back(change);
    tree.children->push_back(changes);
    tree.children->push_back(top);
    return {tree, summary};
}

} // namespace kestrune
