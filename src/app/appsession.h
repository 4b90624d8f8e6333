#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace kestrune {

class MainContentView;
class MainWindow;

// What one run leaves for the next, in the application's settings: the projects open (paths, in
// the window's order) and the one selected, written as they change; the window's geometry,
// maximised state included, and the sidebar's width, written when the window closes and when
// the program quits. The next start restores the window from it and, while "Reopen projects at
// start" is on and no paths were named on the command line, reopens the projects.
class AppSession : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *openProjectsKey = "projects/open";
    static constexpr const char *selectedProjectKey = "projects/selected";
    static constexpr const char *reopenAtStartKey = "projects/reopenAtStart";
    static constexpr const char *windowGeometryKey = "window/geometry";
    static constexpr const char *sidebarStateKey = "window/sidebar";
    // Beside the theme's preference, the other choice of how the program behaves.
    static constexpr const char *watchProjectsKey = "ui.projects.watch";
    static constexpr const char *previewZoomKey = "ui.preview.zoom";
    static constexpr const char *remoteImagesKey = "ui.preview.remote_images";
    static constexpr const char *notifyChangesKey = "ui.notifications.changes";
    static constexpr const char *unreadMarksKey = "ui.reading.marks";

    // Keeps the session in the application's settings.
    explicit AppSession(QObject *parent = nullptr);
    // The same, in the given settings (tests use a temporary file).
    explicit AppSession(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    ~AppSession() override;

    // "Reopen projects at start": on unless turned off.
    bool reopensProjectsAtStart() const;
    void setReopensProjectsAtStart(bool reopen);

    // "Follow changes on disk": on unless turned off.
    bool watchesProjects() const;
    void setWatchesProjects(bool watch);
    // How large the previews draw, in percent: 100 unless changed.
    int previewZoom() const;
    void setPreviewZoom(int percent);

    // "Load remote images" in previews: on unless turned off.
    bool loadsRemoteImages() const;
    void setLoadsRemoteImages(bool load);

    // "Notify About Changes" (ChangeNotifications): off unless turned on.
    bool notifiesChanges() const;
    void setNotifiesChanges(bool notify);

    // "Show Unread Marks": on unless turned off.
    bool showsUnreadMarks() const;
    void setShowsUnreadMarks(bool show);

    // The folders of the projects open when the session was last written, and the selected one.
    QStringList openProjects() const;
    std::optional<QString> selectedProject() const;

    // Gives a window that is not shown yet the geometry and the sidebar width saved last. False,
    // leaving the geometry alone, when none was saved: the first start.
    bool restoreWindow(MainWindow &window) const;
    // Imports the projects that were open, those that are still projects, and selects the one
    // that was selected. They count as restored, not as opened (no
    // MainContentView::projectOpened); a folder that is gone is left out without a word.
    void reopenProjects(MainContentView &view) const;
    // From now on keeps the session up to date with the window; writes its projects at once.
    void track(MainWindow &window);

    void saveWindow(const MainWindow &window);
    void saveProjects(const MainContentView &view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<QSettings> m_settings;
    QPointer<MainWindow> m_window;
};

} // namespace kestrune
