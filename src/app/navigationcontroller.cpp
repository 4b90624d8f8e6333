#include "app/navigationcontroller.h"

#include "app/maincontentview.h"
#include "app/panenavigator.h"
#include "app/sidebarpane.h"
#include "preview/markdownpreviewview.h"
#include "project/projectstore.h"
#include "project/treenodelookup.h"
#include "sidebar/projecttreeview.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace kestrune {

NavigationController::NavigationController(MainContentView &view)
    : QObject(&view), m_view(view), m_panes(std::make_unique<PaneNavigator>(view))
{}

NavigationController::~NavigationController() = default;

void NavigationController::revealInProject(const QUrl &root, const QUrl &target)
{
    m_pendingReveals.insert(root, target);
    applyPendingReveal();
}

void NavigationController::cancelReveal(const QUrl &root)
{
    m_pendingReveals.remove(root);
}

void NavigationController::applyPendingReveal()
{
    const std::optional<QUrl> root = m_view.effectiveProjectRoot();
    if (!root || !m_pendingReveals.contains(*root))
        return;
    const ProjectStore::TreePointer tree = m_view.store().treeForProject(*root);
    if (!tree)
        return; // until the first scan is published
    const QString path = QDir::cleanPath(m_pendingReveals.take(*root).toLocalFile());
    const TreeNode *node = findNodeAtPath(*tree, path);
    if (!node || node->kind == TreeNodeKind::projectRoot)
        return;
    if (node->kind == TreeNodeKind::markdownFile)
        m_view.setSelectedNode(*node);
    m_view.sidebar()->treeView()->revealNode(node->id);
}

void NavigationController::openLocation(const QUrl &root, const QUrl &target, const QString &fragment)
{
    if (!m_view.store().projectRoots().contains(root) || !target.isLocalFile())
        return;
    if (QFileInfo(target.toLocalFile()).isDir()) {
        m_view.setSelectedProjectRoot(root);
        revealInProject(root, target);
        return;
    }
    const std::optional<NavigationHistory::Step> left = leavingStep();
    if (!openFile(root, target))
        return;
    MarkdownPreviewView *preview = m_view.currentPreview();
    if (preview && !fragment.isEmpty()) {
        // A heading of the file on show is a step too (another file's was one already).
        if (left && m_shownPlace && left->isSamePlace(*m_shownPlace))
            m_history.leave(*left);
        preview->scrollToHeadingWhenShown(fragment);
    }
    Q_EMIT navigated();
}

void NavigationController::openSearchHit(const QUrl &root, const QUrl &fileUrl, const SearchPattern &pattern,
                                         int line, int column)
{
    if (!m_view.store().projectRoots().contains(root) || !fileUrl.isLocalFile())
        return;
    if (!openFile(root, fileUrl))
        return;
    if (MarkdownPreviewView *preview = m_view.currentPreview())
        preview->showSearchHit(pattern, line, column);
    Q_EMIT navigated();
}

void NavigationController::followLinks(MarkdownPreviewView &preview)
{
    connect(&preview, &MarkdownPreviewView::openFileRequested, this,
            [this](const QUrl &file, const QString &fragment) {
                if (const std::optional<QUrl> root = m_view.effectiveProjectRoot())
                    openLocation(*root, file, fragment);
            });
    connect(&preview, &MarkdownPreviewView::revealFolderRequested, this, [this](const QUrl &folder) {
        if (const std::optional<QUrl> root = m_view.effectiveProjectRoot())
            openLocation(*root, folder, QString());
    });
    connect(&preview, &MarkdownPreviewView::jumpedInPage, this, &NavigationController::leavePlaceInFile);
}

void NavigationController::leavePlaceInFile(const MarkdownPreviewView::ReadingPosition &from)
{
    if (!m_shownPlace || !m_shownPlace->file)
        return;
    NavigationHistory::Step left = *m_shownPlace;
    left.position = from;
    m_history.leave(left);
    Q_EMIT navigated();
}

bool NavigationController::openFile(const QUrl &root, const QUrl &file)
{
    const std::optional<TreeNode> node = fileNode(root, file);
    if (!node)
        return false;
    const std::optional<NavigationHistory::Step> left = leavingStep();
    m_keepHistory = true;
    m_view.setSelectedProjectRoot(root);
    m_view.setSelectedNode(*node);
    m_keepHistory = false;
    m_shownPlace = currentPlace();
    if (left && m_shownPlace && !left->isSamePlace(*m_shownPlace))
        m_history.leave(*left);
    m_view.sidebar()->treeView()->revealNode(node->id);
    return true;
}

void NavigationController::goBack()
{
    const std::optional<NavigationHistory::Step> current = leavingStep();
    if (!current)
        return;
    if (const std::optional<NavigationHistory::Step> step = m_history.back(*current))
        showStep(*step);
}

void NavigationController::goForward()
{
    const std::optional<NavigationHistory::Step> current = leavingStep();
    if (!current)
        return;
    if (const std::optional<NavigationHistory::Step> step = m_history.forward(*current))
        showStep(*step);
}

void NavigationController::showStep(const NavigationHistory::Step &step)
{
    m_keepHistory = true;
    m_view.setSelectedProjectRoot(step.projectRoot);
    const std::optional<TreeNode> node = step.file ? fileNode(step.projectRoot, *step.file) : std::nullopt;
    if (node) {
        m_view.setSelectedNode(*node);
        m_view.sidebar()->treeView()->revealNode(node->id);
    } else if (step.reviewFolder) {
        m_view.showReview(*step.reviewFolder);
    } else if (step.historyFolder) {
        m_view.showHistory(*step.historyFolder);
    } else {
        m_view.setSelectedNode(std::nullopt);
    }
    m_keepHistory = false;
    m_shownPlace = currentPlace();
    MarkdownPreviewView *preview = m_view.currentPreview();
    if (preview && node && step.position)
        preview->restoreReadingPositionWhenShown(*step.position);
    Q_EMIT navigated();
}

std::optional<TreeNode> NavigationController::fileNode(const QUrl &root, const QUrl &file) const
{
    const QString path = QDir::cleanPath(file.toLocalFile());
    if (const ProjectStore::TreePointer tree = m_view.store().treeForProject(root)) {
        const TreeNode *found = findNodeAtPath(*tree, path);
        if (!found)
            found = findNodeAtPath(*tree, QFileInfo(path).canonicalFilePath());
        if (found && found->kind == TreeNodeKind::markdownFile)
            return *found;
    }
    // Beside the planning folder (a read-me at the project's top): shown, though not listed. The
    // same file gets the same id, so the preview on show keeps it.
    TreeNode node;
    node.id = QUuid::createUuidV5(QUuid(), path);
    node.kind = TreeNodeKind::markdownFile;
    node.name = QFileInfo(path).fileName();
    node.url = QUrl::fromLocalFile(path);
    return node;
}

std::optional<NavigationHistory::Step> NavigationController::currentPlace() const
{
    const std::optional<QUrl> root = m_view.effectiveProjectRoot();
    if (!root)
        return std::nullopt;
    NavigationHistory::Step step{*root, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    const std::optional<TreeNode> &node = m_view.selectedNode();
    if (node && node->kind == TreeNodeKind::markdownFile)
        step.file = node->url;
    else if (m_view.historyChange())
        step.historyFolder = m_view.historyChange();
    else
        step.reviewFolder = m_view.reviewedChange();
    return step;
}

std::optional<NavigationHistory::Step> NavigationController::leavingStep() const
{
    std::optional<NavigationHistory::Step> step = m_shownPlace;
    if (!step || !step->file)
        return step;
    // The preview still shows the file being left.
    if (MarkdownPreviewView *preview = m_view.currentPreview();
        preview && preview->fileURL() == *step->file && preview->state().isContent())
        step->position = preview->readingPosition();
    return step;
}

void NavigationController::recordNavigation()
{
    const std::optional<NavigationHistory::Step> now = currentPlace();
    if (!m_keepHistory && m_shownPlace && now && !m_shownPlace->isSamePlace(*now)) {
        if (const std::optional<NavigationHistory::Step> left = leavingStep())
            m_history.leave(*left);
    }
    if (!m_keepHistory)
        m_shownPlace = now;
}

void NavigationController::followMove(const QUrl &file)
{
    if (m_shownPlace && m_shownPlace->file)
        m_shownPlace->file = file;
}

void NavigationController::followHistoryMove(const QUrl &changeFolder)
{
    if (m_shownPlace && m_shownPlace->historyFolder)
        m_shownPlace->historyFolder = changeFolder;
}

void NavigationController::forgetProject(const QUrl &root)
{
    m_history.removeProject(root);
    if (m_shownPlace && m_shownPlace->projectRoot == root)
        m_shownPlace = currentPlace();
}

} // namespace kestrune
