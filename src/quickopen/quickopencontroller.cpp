#include "quickopen/quickopencontroller.h"

#include "project/projectstore.h"
#include "quickopen/quickopenpopup.h"
#include "search/quickopencatalog.h"
#include "search/requirementindex.h"
#include "text/backgroundpool.h"
#include "text/backgroundthread.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace kestrune {

QuickOpenController::QuickOpenController(ProjectStore &store, QObject *parent)
    : QObject(parent), m_store(store), m_index(new RequirementIndex(this))
{
    m_index->follow(store);
    connect(&store, &ProjectStore::treeByProjectChanged, this, &QuickOpenController::prepareOutlineEntries);
    connect(&store, &ProjectStore::projectRootsChanged, this, &QuickOpenController::updatePopup);
    connect(m_index, &RequirementIndex::projectIndexed, this, &QuickOpenController::updatePopup);
}

QuickOpenController::~QuickOpenController() = default;

QuickOpenPopup *QuickOpenController::popup() const
{
    return m_popup && m_popup->isVisible() ? m_popup.data() : nullptr;
}

QList<QuickOpenEntry> QuickOpenController::entries()
{
    const ProjectStore &store = m_store;
    QList<QuickOpenEntry> all;
    QHash<QUrl, OutlineEntries> kept;
    for (const QUrl &root : store.projectRoots()) {
        const ProjectStore::TreePointer tree = store.treeForProject(root);
        if (!tree)
            continue;
        OutlineEntries outline = m_outlineEntries.value(root);
        if (outline.tree != tree)
            outline = {tree, QuickOpenCatalog::entriesOf(root, *tree)};
        all += outline.entries;
        kept.insert(root, outline);
    }
    m_outlineEntries = kept;
    for (const QUrl &root : store.projectRoots())
        all += m_index->entriesOf(root);
    return all;
}

// The entries of an outline of ten thousand files take tens of milliseconds to make: they are made
// on the thread pool as soon as the outline is published, so that Ctrl+P finds them ready.
void QuickOpenController::prepareOutlineEntries(const QUrl &root)
{
    const ProjectStore::TreePointer tree = m_store.treeForProject(root);
    if (!tree)
        return;
    auto *watcher = new QFutureWatcher<QList<QuickOpenEntry>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, root, tree] {
        watcher->deleteLater();
        if (m_store.treeForProject(root) != tree)
            return; // a newer outline is being prepared
        m_outlineEntries.insert(root, {tree, watcher->result()});
        updatePopup();
    });
    watcher->setFuture(QtConcurrent::run(BackgroundPool::yielding(), [root, tree] {
        BackgroundThread::yieldToWindow();
        return QuickOpenCatalog::entriesOf(root, *tree);
    }));
}

void QuickOpenController::show(QWidget *window)
{
    if (m_popup && m_popup->isVisible()) {
        m_popup->raise();
        return;
    }
    // One closed a moment ago is deleted with the next turn of the event loop; a new one opens.
    m_popup = new QuickOpenPopup(window);
    m_popup->setShowsProjectNames(m_store.projectRoots().size() > 1);
    m_popup->setEntries(entries());
    connect(m_popup, &QuickOpenPopup::entryChosen, this, &QuickOpenController::entryChosen);
    m_popup->popUp(window);
}

void QuickOpenController::updatePopup()
{
    QuickOpenPopup *open = popup();
    if (!open)
        return;
    open->setShowsProjectNames(m_store.projectRoots().size() > 1);
    open->setEntries(entries());
}

} // namespace kestrune
