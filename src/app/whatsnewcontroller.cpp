#include "app/whatsnewcontroller.h"

#include "app/maincontentview.h"
#include "app/projectreading.h"
#include "catchup/catchuppopup.h"
#include "preview/markdownpreviewview.h"
#include "project/projectstore.h"
#include "reading/catchupcounter.h"
#include "reading/catchuplist.h"
#include "reading/readingstore.h"
#include "ui/localization.h"

#include <QAction>
#include <QWidget>

namespace kestrune {

WhatsNewController::WhatsNewController(MainContentView &view, QWidget *window)
    : QObject(window), m_view(view), m_window(window),
      m_action(new QAction(Localization::text("catchup.action"), window)), m_counter(new CatchUpCounter(this))
{
    m_action->setObjectName(QStringLiteral("whatsNew"));
    // N for new; Ctrl+N alone would read as "a new window" on most desktops.
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    connect(m_action, &QAction::triggered, this, &WhatsNewController::show);
    connect(&m_view.reading(), &ProjectReading::marksChanged, this, [this](const QUrl &root) {
        if (m_popup && root == m_root)
            update();
    });
    connect(m_counter, &CatchUpCounter::counted, this, [this](const QString &path) {
        if (m_popup)
            m_popup->setLineCount(path, m_counter->countOf(path));
    });
    connect(&m_view, &MainContentView::stateChanged, this, &WhatsNewController::updateEnabled);
    updateEnabled();
}

WhatsNewController::~WhatsNewController() = default;

CatchUpPopup *WhatsNewController::popup() const
{
    return m_popup;
}

void WhatsNewController::updateEnabled()
{
    m_action->setEnabled(m_view.effectiveProjectRoot().has_value());
}

void WhatsNewController::show()
{
    m_root = m_view.effectiveProjectRoot();
    if (!m_root)
        return;
    if (!m_popup) {
        m_popup = new CatchUpPopup(m_window);
        connect(m_popup, &CatchUpPopup::entryChosen, this, &WhatsNewController::choose);
        connect(m_popup, &CatchUpPopup::markAllAsReadRequested, this, [this] {
            if (m_root)
                m_view.reading().markAllSeen(*m_root);
        });
    }
    m_popup->setProjectName(ProjectStore::folderName(*m_root));
    update();
    if (m_popup->isVisible())
        m_popup->raise();
    else
        m_popup->popUp(m_window);
}

void WhatsNewController::update()
{
    if (!m_popup || !m_root)
        return;
    const ProjectStore::TreePointer tree = m_view.store().treeForProject(*m_root);
    const std::optional<ReadingMarks> marks = m_view.reading().marksFor(*m_root);
    ReadingStore *store = m_view.reading().storeFor(*m_root);
    const QList<CatchUpGroup> groups =
        tree && marks ? CatchUpList::build(*tree, *marks) : QList<CatchUpGroup>();
    if (store)
        m_counter->count(*store, groups);
    for (const CatchUpGroup &group : groups)
        for (const CatchUpEntry &entry : group.entries)
            m_popup->setLineCount(entry.relativePath, m_counter->countOf(entry.relativePath));
    m_popup->setGroups(groups);
}

void WhatsNewController::choose(const CatchUpEntry &entry)
{
    if (!m_root || entry.url.isEmpty())
        return;
    m_view.openLocation(*m_root, entry.url);
    MarkdownPreviewView *preview = m_view.currentPreview();
    // A file with a text seen shows its changes marked: the first of them is put in view.
    if (preview && preview->fileURL() == entry.url && entry.change == CatchUpEntry::Change::changed &&
        entry.hasSeenText)
        preview->goToFirstChangeWhenMarked();
}

} // namespace kestrune
