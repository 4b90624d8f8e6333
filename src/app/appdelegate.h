#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

namespace kestrune {

class DesktopColorScheme;
class MainWindow;
class ThemeController;

// The application object: it owns the theme controller and the main window for the whole life
// of the process. Start-up order matters: the saved appearance is applied before the window is
// built, so the first frame is already drawn in it.
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

    // Applies the appearance, builds and shows the window, then opens the paths named on the
    // command line (MainContentView::openPaths).
    void applicationDidFinishLaunching(const QStringList &paths = {});

    // What another start of the program handed over (InstanceServer): opens the paths, if any,
    // and brings the window to the front, with the activation token where the desktop needs one.
    void openFromAnotherInstance(const QStringList &paths, const QString &activationToken);

    ThemeController &themeController() const { return *m_themeController; }
    MainWindow *mainWindow() const { return m_mainWindow.get(); }

private:
    std::unique_ptr<ThemeController> m_themeController;
    std::unique_ptr<DesktopColorScheme> m_desktopColorScheme;
    std::unique_ptr<MainWindow> m_mainWindow;
};

} // namespace kestrune
