#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

namespace kestrune {

class AppSession;
class DesktopColorScheme;
class MainWindow;
class RecentProjects;
class ThemeController;

// The application object: it owns the theme controller, the recent projects, the session and
// the main window for the whole life of the process. Start-up order matters: the saved
// appearance is applied before the window is built, so the first frame is already drawn in it.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    // Runs the whole program: application object, command line, window, event loop. When the
    // program runs already (InstanceServer), hands the paths over to it instead and returns at
    // once, unless --new-window asks for an instance of its own. The exit status is 0; a usage
    // error ends the process with 1 (see CommandLine).
    static int run(int argc, char **argv);
    // Names and version under which the settings are kept and the program reports itself.
    static void setApplicationIdentity();

    // Applies the appearance, builds the window, gives it the geometry of the last run (or its
    // default size, centred, at the first start) and shows it. Then opens the paths named on the
    // command line (MainContentView::openPaths), or else reopens the projects of the last run
    // (AppSession). From then on every project opened goes to the recent projects.
    void applicationDidFinishLaunching(const QStringList &paths = {});

    // What another start of the program handed over (InstanceServer): opens the paths, if any,
    // and brings the window to the front, with the activation token where the desktop needs one.
    void openFromAnotherInstance(const QStringList &paths, const QString &activationToken);

    ThemeController &themeController() const { return *m_themeController; }
    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    RecentProjects &recentProjects() const { return *m_recentProjects; }
    AppSession &session() const { return *m_session; }

private:
    // "Show Unread Marks", "Mark All as Read" and "Forget Reading History" in the main menu.
    void addReadingCommands(MainWindow &window);

    std::unique_ptr<ThemeController> m_themeController;
    std::unique_ptr<DesktopColorScheme> m_desktopColorScheme;
    std::unique_ptr<RecentProjects> m_recentProjects;
    std::unique_ptr<AppSession> m_session;
    std::unique_ptr<MainWindow> m_mainWindow;
};

} // namespace kestrune
