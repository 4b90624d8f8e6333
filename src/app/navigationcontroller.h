#pragma once

#include "app/navigationhistory.h"
#include "project/treenode.h"
#include "text/searchpattern.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace kestrune {

class MainContentView;
class MarkdownPreviewView;
class PaneNavigator;

// The ways from one place of the root view to another: going to a file or folder of a project
// (a link, a search hit, a path named to the program), the window's Back and Forward through
// the places left, and the keyboard's way through the panes.
//
// Every file, dashboard or review left is a step of the history, kept with the reading position
// the file was left at; a walk through the history changes the place without recording it. The
// controller works through the root view's public selection, which tells it of each change of
// the place on show through recordNavigation().
class NavigationController : public QObject
{
    Q_OBJECT

public:
    explicit NavigationController(MainContentView &view);
    ~NavigationController() override;

    const NavigationHistory &history() const { return m_history; }
    void goBack();
    void goForward();

    // See MainContentView: these are its commands.
    void revealInProject(const QUrl &root, const QUrl &target);
    void openLocation(const QUrl &root, const QUrl &target, const QString &fragment);
    void openSearchHit(const QUrl &root, const QUrl &fileUrl, const SearchPattern &pattern, int line,
                       int column);
    // Links and folder references in a preview go where they point, in the selected project.
    void followLinks(MarkdownPreviewView &preview);

    // Shows what revealInProject still has to, once the project is selected and its outline there.
    void applyPendingReveal();
    // Drops what revealInProject still has to show in a project.
    void cancelReveal(const QUrl &root);
    // The place on show may have changed: the place left becomes a step of the history, unless
    // the history itself is changing the place.
    void recordNavigation();
    // The file on show moved (into the archive with its change): the same place, at its new URL.
    void followMove(const QUrl &file);
    // The change whose history is on show was archived: the same place, at its new folder.
    void followHistoryMove(const QUrl &changeFolder);
    // Forgets the steps in a project that was closed.
    void forgetProject(const QUrl &root);

    PaneNavigator &panes() const { return *m_panes; }

Q_SIGNALS:
    // The place on show changed by one of the commands here.
    void navigated();

private:
    // The reader went from `from` to another place of the file on show: a step of the history.
    void leavePlaceInFile(const MarkdownPreviewView::ReadingPosition &from);
    // Shows a Markdown file of a project as a new step of the history; false when the file is
    // unknown.
    bool openFile(const QUrl &root, const QUrl &file);
    void showStep(const NavigationHistory::Step &step);
    // The outline's node of a Markdown file, or one made for a file it does not list.
    std::optional<TreeNode> fileNode(const QUrl &root, const QUrl &file) const;
    // The place the detail area is to show now (none without a project).
    std::optional<NavigationHistory::Step> currentPlace() const;
    // The place on show, with the reading position of its file.
    std::optional<NavigationHistory::Step> leavingStep() const;

    MainContentView &m_view;
    // What revealInProject still has to show, by project.
    QHash<QUrl, QUrl> m_pendingReveals;
    NavigationHistory m_history;
    std::optional<NavigationHistory::Step> m_shownPlace;
    bool m_keepHistory = false; // while the history itself changes the place
    std::unique_ptr<PaneNavigator> m_panes;
};

} // namespace kestrune
