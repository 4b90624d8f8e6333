#include "app/mainwindowactions.h"

#include "app/shellcolors.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QActionGroup>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace kestrune {

namespace {

constexpr int symbolSize = 16;

// The keys named first, then whatever else the desktop binds to the standard command.
QList<QKeySequence> keys(const QList<QKeySequence> &named,
                         std::optional<QKeySequence::StandardKey> standard = std::nullopt)
{
    QList<QKeySequence> all = named;
    if (standard) {
        for (const QKeySequence &key : QKeySequence::keyBindings(*standard)) {
            if (!all.contains(key))
                all.append(key);
        }
    }
    return all;
}

QString keyText(const QKeySequence &key)
{
    return key.toString(QKeySequence::NativeText);
}

} // namespace

MainWindowActions::MainWindowActions(QWidget *window, ThemeController &themeController)
    : QObject(window), m_window(window), m_themeController(themeController)
{
    // The order of the calls is the order of the commands in the menu and the shortcuts window.
    makeFileActions();
    makeProjectTabActions();
    makeNavigationActions();
    makeViewModeAndFindActions();
    makeZoomActions();
    makeThemeActions();
    makeApplicationActions();

    addStandardKeyHints();
    connect(&m_themeController, &ThemeController::modeChanged, this, &MainWindowActions::updateThemeChecks);
    updateThemeChecks();
    updateIcons();
}

MainWindowActions::~MainWindowActions() = default;

QAction *MainWindowActions::make(const QString &text, Group group, Listing listing)
{
    auto *action = new QAction(text, m_window);
    add(action, group, listing);
    return action;
}

void MainWindowActions::makeFileActions()
{
    const Group project = Group::project;
    m_importProject = make(Localization::text("action.import_project"), project);
    m_importProject->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_O)}, QKeySequence::Open));
    m_refresh = make(Localization::text("toolbar.refresh"), project);
    m_refresh->setShortcuts(
        keys({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)}, QKeySequence::Refresh));
    m_refresh->setToolTip(Localization::text("toolbar.refresh.help"));
    m_closeProject = make(Localization::text("action.close_project"), project);
    m_closeProject->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_W)}, QKeySequence::Close));
    m_print = make(Localization::text("action.print"), project);
    m_print->setObjectName(QStringLiteral("print"));
    // Not the desktop's Print key: Ctrl+P is quick open's.
    m_print->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    m_exportPdf = make(Localization::text("action.export_pdf"), project);
    m_exportPdf->setObjectName(QStringLiteral("exportPdf"));
}

void MainWindowActions::makeProjectTabActions()
{
    const Group project = Group::project;
    m_nextProject = make(Localization::text("action.next_project"), project);
    m_nextProject->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    m_previousProject = make(Localization::text("action.previous_project"), project);
    // A real Shift+Tab arrives as Backtab; both are bound.
    m_previousProject->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    for (int index = 0; index < projectSlotCount; ++index) {
        QAction *slot =
            make(Localization::format("action.project_format", index + 1), project, Listing::keysOnly);
        slot->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + index)));
        m_projectSlots[std::size_t(index)] = slot;
    }
}

void MainWindowActions::makeNavigationActions()
{
    const Group navigation = Group::navigation;
    m_showDashboard = make(Localization::text("action.show_dashboard"), navigation);
    m_showDashboard->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::ALT | Qt::Key_Home)});
    m_back = make(Localization::text("action.back"), navigation);
    m_back->setShortcuts(keys({}, QKeySequence::Back));
    m_forward = make(Localization::text("action.forward"), navigation);
    m_forward->setShortcuts(keys({}, QKeySequence::Forward));
    m_showHeadings = make(Localization::text("action.show_headings"), navigation);
    m_showHeadings->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m_showHistory = make(Localization::text("action.show_history"), navigation);
    m_showHistory->setObjectName(QStringLiteral("showHistory"));
    m_showHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    m_fileHistory = make(Localization::text("action.file_history"), navigation);
    m_fileHistory->setObjectName(QStringLiteral("fileHistory"));
    m_fileHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H));
    m_quickOpen = make(Localization::text("action.quick_open"), navigation);
    m_quickOpen->setObjectName(QStringLiteral("quickOpen"));
    m_quickOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_focusOutline = make(Localization::text("action.focus_outline"), navigation);
    m_focusDocument = make(Localization::text("action.focus_document"), navigation);
    m_nextPane = make(Localization::text("action.next_pane"), navigation, Listing::shortcutsOnly);
    m_nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    m_previousPane = make(Localization::text("action.previous_pane"), navigation, Listing::shortcutsOnly);
    m_previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
}

void MainWindowActions::makeViewModeAndFindActions()
{
    const Group view = Group::view;
    m_toggleViewMode = make(Localization::text("action.toggle_view_mode"), view);
    m_toggleViewMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    m_find = make(Localization::text("action.find"), view);
    m_find->setObjectName(QStringLiteral("find"));
    m_find->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_F)}, QKeySequence::Find));
    m_searchProject = make(Localization::text("action.search_project"), view);
    m_searchProject->setObjectName(QStringLiteral("searchProject"));
    m_searchProject->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    m_findNext = make(Localization::text("action.find_next"), view);
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setShortcuts(keys({QKeySequence(Qt::Key_F3)}, QKeySequence::FindNext));
    m_findPrevious = make(Localization::text("action.find_previous"), view);
    m_findPrevious->setObjectName(QStringLiteral("findPrevious"));
    m_findPrevious->setShortcuts(keys({QKeySequence(Qt::SHIFT | Qt::Key_F3)}, QKeySequence::FindPrevious));
}

void MainWindowActions::makeZoomActions()
{
    const Group view = Group::view;
    m_zoomIn = make(Localization::text("action.zoom_in"), view);
    m_zoomIn->setObjectName(QStringLiteral("zoomIn"));
    // Ctrl+= too: on many keyboards "+" needs Shift.
    m_zoomIn->setShortcuts(
        keys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
             QKeySequence::ZoomIn));
    m_zoomOut = make(Localization::text("action.zoom_out"), view);
    m_zoomOut->setObjectName(QStringLiteral("zoomOut"));
    m_zoomOut->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, QKeySequence::ZoomOut));
    m_actualSize = make(Localization::text("action.actual_size"), view);
    m_actualSize->setObjectName(QStringLiteral("actualSize"));
    m_actualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void MainWindowActions::makeThemeActions()
{
    m_themeGroup = new QActionGroup(this);
    m_themeGroup->setExclusive(true);
    for (const ThemeMode mode : allThemeModes()) {
        QAction *theme = make(displayName(mode), Group::view);
        theme->setCheckable(true);
        theme->setData(rawValue(mode));
        m_themeGroup->addAction(theme);
        connect(theme, &QAction::triggered, this, [this, mode] { m_themeController.setMode(mode); });
        m_themes[std::size_t(mode)] = theme;
    }
}

void MainWindowActions::makeApplicationActions()
{
    const Group application = Group::application;
    m_openMainMenu = make(Localization::text("action.main_menu"), application, Listing::shortcutsOnly);
    m_openMainMenu->setShortcut(QKeySequence(Qt::Key_F10));
    m_keyboardShortcuts = make(Localization::text("action.keyboard_shortcuts"), application);
    m_keyboardShortcuts->setShortcuts(
        keys({QKeySequence(Qt::CTRL | Qt::Key_Question)}, QKeySequence::HelpContents));
    m_about = make(Localization::text("action.about"), application);
    m_about->setMenuRole(QAction::AboutRole);
    m_quit = make(Localization::text("action.quit"), application);
    m_quit->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_Q)}, QKeySequence::Quit));
    // Also from the shortcuts window and the other dialogs.
    m_quit->setShortcutContext(Qt::ApplicationShortcut);
    m_quit->setMenuRole(QAction::QuitRole);
}

void MainWindowActions::add(QAction *action, Group group, Listing listing)
{
    action->setParent(m_window);
    // In the menu the keys are shown beside the text; elsewhere (a tooltip of a toolbar button)
    // the text alone.
    action->setShortcutVisibleInContextMenu(true);
    m_window->addAction(action);
    // Quit stays the last command of its group, whatever is added later.
    auto at = m_entries.end();
    if (m_quit && action != m_quit) {
        at = std::find_if(m_entries.begin(), m_entries.end(),
                          [this](const Entry &entry) { return entry.action == m_quit; });
        if (at != m_entries.end() && at->group != group)
            at = m_entries.end();
    }
    m_entries.insert(at, {action, group, listing});
    Q_EMIT listChanged();
}

void MainWindowActions::addKeyHint(Group group, const QString &keys, const QString &description)
{
    m_keyHints.append({group, keys, description});
    Q_EMIT listChanged();
}

QList<QAction *> MainWindowActions::actions(Group group, Listing listing) const
{
    QList<QAction *> found;
    for (const Entry &entry : m_entries) {
        if (entry.group == group && entry.listing == listing)
            found.append(entry.action);
    }
    return found;
}

QString MainWindowActions::groupTitle(Group group)
{
    switch (group) {
    case Group::project:
        return Localization::text("shortcuts.group.projects");
    case Group::navigation:
        return Localization::text("shortcuts.group.navigation");
    case Group::view:
        return Localization::text("shortcuts.group.view");
    case Group::application:
        break;
    }
    return Localization::text("shortcuts.group.application");
}

void MainWindowActions::updateIcons()
{
    const QColor color = ShellColors::strongText.withOpacity(0.85f).resolve(m_window->palette());
    m_refresh->setIcon(SymbolIcon::icon(u"arrow.clockwise", color, symbolSize));
    m_back->setIcon(SymbolIcon::icon(u"chevron.left", color, symbolSize));
    m_forward->setIcon(SymbolIcon::icon(u"chevron.right", color, symbolSize));
    for (const ThemeMode mode : allThemeModes())
        theme(mode)->setIcon(SymbolIcon::icon(symbolName(mode), color, symbolSize));
}

void MainWindowActions::addStandardKeyHints()
{
    const QString either = QStringLiteral(" / ");
    const auto text = [](QKeyCombination key) { return keyText(QKeySequence(key)); };
    addKeyHint(Group::project, text(Qt::ALT | Qt::Key_1) + QStringLiteral(" … ") + text(Qt::ALT | Qt::Key_9),
               Localization::text("shortcuts.hint.project_slots"));
    addKeyHint(Group::navigation, text(Qt::Key_Tab) + either + text(Qt::SHIFT | Qt::Key_Tab),
               Localization::text("shortcuts.hint.tab"));
    addKeyHint(Group::navigation, text(Qt::Key_Up) + either + text(Qt::Key_Down),
               Localization::text("shortcuts.hint.outline_move"));
    addKeyHint(Group::navigation, text(Qt::Key_Right) + either + text(Qt::Key_Return),
               Localization::text("shortcuts.hint.outline_expand"));
    addKeyHint(Group::navigation, text(Qt::Key_Left), Localization::text("shortcuts.hint.outline_collapse"));
    addKeyHint(Group::navigation, text(Qt::Key_Return), Localization::text("shortcuts.hint.outline_open"));
    addKeyHint(Group::navigation, text(Qt::Key_Space) + either + text(Qt::Key_Return),
               Localization::text("shortcuts.hint.activate"));
    addKeyHint(Group::navigation, text(Qt::Key_Escape), Localization::text("shortcuts.hint.leave_preview"));
}

void MainWindowActions::updateThemeChecks()
{
    theme(m_themeController.mode())->setChecked(true);
}

} // namespace kestrune
