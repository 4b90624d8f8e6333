#include "app/quickopencontroller.h"

#include "app/maincontentview.h"
#include "app/quickopenpopup.h"
#include "model/quickopencatalog.h"
#include "model/requirementindex.h"

namespace kestrune {

QuickOpenController::QuickOpenController(MainContentView &view, QObject *parent)
    : QObject(parent), m_view(view), m_index(new RequirementIndex(this))
{
    ProjectStore &store = m_view.store();
    m_index->follow(store);
    connect(&store, &ProjectStore::treeByProjectChanged, this, &QuickOpenController::updatePopup);
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
    const ProjectStore &store = m_view.store();
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

void QuickOpenController::show(QWidget *window)
{
    if (m_popup && m_popup->isVisible()) {
        m_popup->raise();
        return;
    }
    // One closed a moment ago is deleted with the next turn of the event loop; a new one opens.
    m_popup = new QuickOpenPopup(window);
    m_popup->setShowsProjectNames(m_view.store().projectRoots().size() > 1);
    m_popup->setEntries(entries());
    connect(m_popup, &QuickOpenPopup::entryChosen, this, [this](const QuickOpenEntry &entry) {
        m_view.openLocation(entry.projectRoot, entry.target, entry.fragment);
    });
    m_popup->popUp(window);
}

void QuickOpenController::updatePopup()
{
    QuickOpenPopup *open = popup();
    if (!open)
        return;
    open->setShowsProjectNames(m_view.store().projectRoots().size() > 1);
    open->setEntries(entries());
}

} // namespace kestrune
