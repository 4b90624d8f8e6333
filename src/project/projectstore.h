#pragma once

#include "project/projectsummary.h"
#include "project/treenode.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace kestrune {

// The projects imported during this run: their folders, and for each the latest outline tree and
// summary. Loads run on the thread pool; their results are published on the main thread, the tree
// first, then the summary. A project has at most one load running: a refresh asked for meanwhile
// waits for it and then runs once, however often it was asked for, so the last load to finish is
// always the last one started and a burst of refreshes costs two scans at most. Every published field
// announces a change before it happens (the ...AboutToChange signals, where the old value is still readable)
// and after it (the ...Changed signals). Nothing is saved: a new store is always empty.
class ProjectStore : public QObject
{
    Q_OBJECT

public:
    // What one load of a project produces.
    struct LoadResult
    {
        TreeNode tree;
        ProjectSummary summary;
    };
    // Scans a project folder; runs on a pool thread, possibly several at once. Nothing when the
    // folder yields no tree.
    using Loader = std::function<std::optional<LoadResult>(const QUrl &root)>;

    // Trees are large and immutable once published, so they are shared rather than copied.
    using TreePointer = std::shared_ptr<const TreeNode>;

    explicit ProjectStore(QObject *parent = nullptr);
    // For tests and benchmarks: loads through the given function instead of the folder scanner.
    explicit ProjectStore(Loader loader, QObject *parent = nullptr);
    ~ProjectStore() override;

    // Sorted by folder name (localized standard order, stable), never two equal URLs.
    const QList<QUrl> &projectRoots() const { return m_projectRoots; }
    // The latest tree and summary of each project scanned successfully. May hold roots that are
    // no longer in projectRoots (a load that finished after a removal); look up listed roots only.
    const QHash<QUrl, TreePointer> &treeByProject() const { return m_treeByProject; }
    const QHash<QUrl, ProjectSummary> &summaryByProject() const { return m_summaryByProject; }

    TreePointer treeForProject(const QUrl &root) const { return m_treeByProject.value(root); }
    std::optional<ProjectSummary> summaryForProject(const QUrl &root) const;

    // Adds a project folder and starts loading it; a folder already imported is left alone.
    // The caller has checked that the folder holds a "kestrune" folder.
    void importProject(const QUrl &root);
    // Forgets a project. A load of it already running is not stopped.
    void removeProject(const QUrl &root);
    // Reloads one imported project; does nothing for a folder that is not imported.
    void refreshProject(const QUrl &root);
    // Reloads every imported project, in list order.
    void refreshAll();

    // Whether a load of the project is running or waiting to run.
    bool isLoading(const QUrl &root) const;
    // Whether the project's folder yielded no tree at its latest load (deleted, renamed, unmounted,
    // or its "kestrune" folder gone); what was published before stays.
    bool isMissing(const QUrl &root) const;

    // The scan used by default: the folder scanner, then the summary computation.
    static std::optional<LoadResult> scanProject(const QUrl &root);
    // The last path component of a folder URL, a trailing slash ignored: how projects are named
    // and sorted.
    static QString folderName(const QUrl &root);

Q_SIGNALS:
    void projectRootsAboutToChange();
    void projectRootsChanged();
    void treeByProjectAboutToChange(const QUrl &root);
    void treeByProjectChanged(const QUrl &root);
    void summaryByProjectAboutToChange(const QUrl &root);
    void summaryByProjectChanged(const QUrl &root);
    // A load was handed to the thread pool (for tests and benchmarks).
    void loadStarted(const QUrl &root);
    // isLoading or isMissing of the project changed.
    void loadStateChanged(const QUrl &root);

private:
    // The loads of one project: whether one runs, whether another was asked for meanwhile.
    struct LoadState
    {
        quint64 serial = 0; // of the load running, or of the last one
        bool running = false;
        bool pending = false;
        bool missing = false;
    };

    void requestLoad(const QUrl &root);
    void startLoad(const QUrl &root);
    void finishLoad(const QUrl &root, quint64 serial, bool yieldedTree);
    void publishTree(const QUrl &root, const TreePointer &tree);
    void publishSummary(const QUrl &root, const ProjectSummary &summary);

    Loader m_loader;
    QList<QUrl> m_projectRoots;
    QHash<QUrl, TreePointer> m_treeByProject;
    QHash<QUrl, ProjectSummary> m_summaryByProject;
    QHash<QUrl, LoadState> m_loads;
    quint64 m_loadSerial = 0;
};

} // namespace kestrune
