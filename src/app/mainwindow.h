#pragma once

#include "app/maincontentview.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QMimeData;

namespace kestrune {

class AboutDialog;
class DocumentPrinting;
class DropOverlay;
class KeyboardShortcutsDialog;
class MainMenu;
class MainWindowActions;
class QuickOpenController;
class ReadingChangeCommands;
class RecentProjects;
class RecentProjectsMenu;
class ThemeController;
class WhatsNewController;

// The program's one window: the root view as its central widget, the root view's toolbar at
// the top, the window background behind them. Its commands (MainWindowActions) are listed in the
// main menu behind the toolbar's trailing button and in the keyboard shortcuts window; the window
// wires each to the root view and enables it while it applies. Tab follows the panes in reading
// order (PaneNavigator). The main menu also holds the "Open Recent" menu of the recent projects,
// wired to open the chosen one. Folders and files dropped on the window are opened as paths named
// on the command line are (MainContentView::openPaths) while an overlay marks it as a drop target.
// Back and Forward (keys, toolbar buttons, the mouse's side buttons) walk the places shown.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize contentSize{1200, 1000};
    static constexpr QSize minimumContentSize{600, 400};

    MainWindow(ThemeController &themeController, RecentProjects &recentProjects, QWidget *parent = nullptr);
    // With the root view's dependencies replaced (tests).
    MainWindow(ThemeController &themeController, RecentProjects &recentProjects,
               MainContentView::Dependencies dependencies, QWidget *parent = nullptr);
    ~MainWindow() override;

    MainContentView *contentView() const { return m_contentView; }
    RecentProjectsMenu *recentProjectsMenu() const { return m_recentProjectsMenu; }
    MainWindowActions &commands() const { return *m_actions; }
    MainMenu *mainMenu() const { return m_mainMenu; }
    QuickOpenController &quickOpen() const { return *m_quickOpen; }
    WhatsNewController &whatsNew() const { return *m_whatsNew; }
    DocumentPrinting &printing() const { return *m_printing; }
    // Next Change, Previous Change and Mark as Read, of the file on show.
    ReadingChangeCommands &readingChangeCommands() const { return *m_readingChangeCommands; }

    // Shows the window, minimised or not, in front and with the keyboard. A non-empty activation
    // token (XDG_ACTIVATION_TOKEN) is what lets a Wayland compositor give the focus to a window
    // asked forward from outside it: a second start, a notification clicked.
    void bringForward(const QString &activationToken = QString());

    // Shows the keyboard shortcuts window (made the first time), or raises it.
    void showKeyboardShortcuts();
    KeyboardShortcutsDialog *keyboardShortcutsDialog() const;
    void showAbout();
    AboutDialog *aboutDialog() const;
    DropOverlay *dropOverlay() const { return m_dropOverlay; }

    // The local files and folders a drag carries; empty when it carries none.
    static QStringList droppedPaths(const QMimeData *data);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    // The mouse's back and forward buttons, pressed anywhere in the window, walk its history.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectCommands();
    void updateCommands();

    MainContentView *m_contentView = nullptr;
    MainWindowActions *m_actions = nullptr;
    MainMenu *m_mainMenu = nullptr;
    RecentProjectsMenu *m_recentProjectsMenu = nullptr;
    DropOverlay *m_dropOverlay = nullptr;
    QuickOpenController *m_quickOpen = nullptr;
    WhatsNewController *m_whatsNew = nullptr;
    DocumentPrinting *m_printing = nullptr;
    ReadingChangeCommands *m_readingChangeCommands = nullptr;
    QPointer<KeyboardShortcutsDialog> m_shortcutsDialog;
    QPointer<AboutDialog> m_aboutDialog;
};

} // namespace kestrune
