#pragma once

#include "ui/thememode.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QAction;
class QActionGroup;
class QWidget;

namespace kestrune {

class ThemeController;

// The window's commands as QActions, each with its localised text, the desktop's standard keys
// where there are some, and the toolbar's symbol where the toolbar shows one. The actions are
// put on the window, so their keys work wherever the focus is inside it; the main menu and the
// keyboard shortcuts window are built from the lists kept here, so a command added later shows
// up in both without touching either.
//
// This class makes and lists the actions; it does not know what they do. The window connects
// their triggered() signals to the views and enables each one while it applies. Only the theme
// actions are wired here, to ThemeController::setMode, and follow the controller's mode.
//
// Another feature adds its commands with add():
//
//     auto *reopen = new QAction(Localization::text(reopenKey), window);
//     reopen->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
//     actions.add(reopen, MainWindowActions::Group::project);
//     connect(reopen, &QAction::triggered, ...);
//
// and keys that are no command of their own (handled by a view) with addKeyHint().
class MainWindowActions : public QObject
{
    Q_OBJECT

public:
    // Where a command is listed; the keyboard shortcuts window shows the groups in this order.
    enum class Group
    {
        project,
        navigation,
        view,
        application,
    };
    static constexpr std::array<Group, 4> allGroups = {Group::project, Group::navigation, Group::view,
                                                       Group::application};

    // Where an action appears besides its keys.
    enum class Listing
    {
        menuAndShortcuts, // in the main menu and, when it has keys, in the shortcuts window
        shortcutsOnly,    // keys only: in the shortcuts window, not in the menu
        keysOnly,         // in neither (a key hint says it for a whole family of keys)
    };

    // Keys a view handles itself, listed in the shortcuts window.
    struct KeyHint
    {
        Group group;
        QString keys;
        QString description;
    };

    struct Entry
    {
        QAction *action = nullptr;
        Group group = Group::application;
        Listing listing = Listing::menuAndShortcuts;
    };

    static constexpr int projectSlotCount = 9;

    // The actions become children of the window and are added to it.
    MainWindowActions(QWidget *window, ThemeController &themeController);
    ~MainWindowActions() override;

    QAction *importProject() const { return m_importProject; }
    QAction *refresh() const { return m_refresh; }
    QAction *closeProject() const { return m_closeProject; }
    // The Markdown file on show, on paper or as PDF.
    QAction *print() const { return m_print; }
    QAction *exportPdf() const { return m_exportPdf; }
    QAction *nextProject() const { return m_nextProject; }
    QAction *previousProject() const { return m_previousProject; }
    // Alt+1 … Alt+9: the project of that tab (index 0 for the first).
    QAction *projectSlot(int index) const { return m_projectSlots.at(std::size_t(index)); }
    QAction *showDashboard() const { return m_showDashboard; }
    QAction *back() const { return m_back; }
    QAction *forward() const { return m_forward; }
    QAction *showHeadings() const { return m_showHeadings; }
    // The commits that touched the selected change; only there while its project is in git.
    QAction *showHistory() const { return m_showHistory; }
    // The commits that changed the file on show, and its earlier versions.
    QAction *fileHistory() const { return m_fileHistory; }
    QAction *quickOpen() const { return m_quickOpen; }
    QAction *focusOutline() const { return m_focusOutline; }
    QAction *focusDocument() const { return m_focusDocument; }
    QAction *nextPane() const { return m_nextPane; }
    QAction *previousPane() const { return m_previousPane; }
    QAction *toggleViewMode() const { return m_toggleViewMode; }
    QAction *find() const { return m_find; }
    QAction *searchProject() const { return m_searchProject; }
    QAction *findNext() const { return m_findNext; }
    QAction *findPrevious() const { return m_findPrevious; }
    QAction *zoomIn() const { return m_zoomIn; }
    QAction *zoomOut() const { return m_zoomOut; }
    QAction *actualSize() const { return m_actualSize; }
    QAction *theme(ThemeMode mode) const { return m_themes.at(std::size_t(mode)); }
    QActionGroup *themeGroup() const { return m_themeGroup; }
    QAction *openMainMenu() const { return m_openMainMenu; }
    QAction *keyboardShortcuts() const { return m_keyboardShortcuts; }
    QAction *about() const { return m_about; }
    QAction *quit() const { return m_quit; }

    // Puts a command on the window and lists it. The window takes the action over as its child.
    void add(QAction *action, Group group, Listing listing = Listing::menuAndShortcuts);
    void addKeyHint(Group group, const QString &keys, const QString &description);

    // Every action, in the order added.
    const QList<Entry> &entries() const { return m_entries; }
    QList<QAction *> actions(Group group, Listing listing) const;
    const QList<KeyHint> &keyHints() const { return m_keyHints; }
    static QString groupTitle(Group group);

    // Redraws the symbols of the actions in the window's current palette.
    void updateIcons();

Q_SIGNALS:
    // An action or a key hint was added.
    void listChanged();

private:
    QAction *make(const QString &text, Group group, Listing listing = Listing::menuAndShortcuts);
    // Each builds one group of commands, in the order they are listed.
    void makeFileActions();
    void makeProjectTabActions();
    void makeNavigationActions();
    void makeViewModeAndFindActions();
    void makeZoomActions();
    void makeThemeActions();
    void makeApplicationActions();
    void addStandardKeyHints();
    void updateThemeChecks();

    QWidget *m_window;
    ThemeController &m_themeController;
    QList<Entry> m_entries;
    QList<KeyHint> m_keyHints;

    QAction *m_importProject = nullptr;
    QAction *m_refresh = nullptr;
    QAction *m_closeProject = nullptr;
    QAction *m_print = nullptr;
    QAction *m_exportPdf = nullptr;
    QAction *m_nextProject = nullptr;
    QAction *m_previousProject = nullptr;
    std::array<QAction *, projectSlotCount> m_projectSlots = {};
    QAction *m_showDashboard = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QAction *m_showHeadings = nullptr;
    QAction *m_showHistory = nullptr;
    QAction *m_fileHistory = nullptr;
    QAction *m_quickOpen = nullptr;
    QAction *m_focusOutline = nullptr;
    QAction *m_focusDocument = nullptr;
    QAction *m_nextPane = nullptr;
    QAction *m_previousPane = nullptr;
    QAction *m_toggleViewMode = nullptr;
    QAction *m_find = nullptr;
    QAction *m_searchProject = nullptr;
    QAction *m_findNext = nullptr;
    QAction *m_findPrevious = nullptr;
    QAction *m_zoomIn = nullptr;
    QAction *m_zoomOut = nullptr;
    QAction *m_actualSize = nullptr;
    QActionGroup *m_themeGroup = nullptr;
    std::array<QAction *, 3> m_themes = {};
    QAction *m_openMainMenu = nullptr;
    QAction *m_keyboardShortcuts = nullptr;
    QAction *m_about = nullptr;
    QAction *m_quit = nullptr;
};

} // namespace kestrune
