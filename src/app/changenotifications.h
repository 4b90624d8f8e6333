#pragma once

#include "project/changeevent.h"
#include "project/projectsummary.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace kestrune {

class MainWindow;

// Desktop notifications about a project's changes while the window is not active: when a
// project's summary is published again after a change on disk and a change's tasks all became
// done, a change appeared or one was archived (ChangeEventDetector), one notification goes to the
// desktop's notification service (org.freedesktop.Notifications on the session bus). At most one
// a project a minute: what happens within the minute after one waits, and the minute's events
// become one notification when it ends. A project's first summary is never news, and what waits
// is dropped when the window comes forward or the notifications are turned off.
//
// Clicking a notification (its "default" action) brings the window forward on the change: the
// project's tab is selected and the change's proposal opened (its folder shown in the outline
// when it has none), or the project's dashboard when the notification told of several changes.
//
// No session bus, or no notification service on it: nothing is shown, and the first failure is
// said once a process on standard error.
class ChangeNotifications : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // The shortest time between two notifications about one project.
    static constexpr std::chrono::milliseconds quietPeriod = std::chrono::minutes(1);
    // Events told one a line in a notification; more are counted.
    static constexpr qsizetype mostLinesTold = 5;

    ChangeNotifications(MainWindow &window, const QDBusConnection &bus, QObject *parent = nullptr);
    ~ChangeNotifications() override;

    // Off unless turned on.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Where "now" comes from (tests move it forward); the steady clock by default.
    void setClock(Clock clock);
    // Sends the notifications of the projects whose quiet minute has ended; the timer runs it.
    void sendDueNotifications();
    // Whether events of some project wait for the end of its quiet minute.
    bool hasWaitingEvents() const;

    // The text of one notification about a project's events: {summary, body}.
    static std::pair<QString, QString> textOf(const QString &projectName, const QList<ChangeEvent> &events);

Q_SIGNALS:
    // The service answered a notification sent: shown, or refused (or no service answered).
    void serviceAnswered(bool shown);

private Q_SLOTS:
    // The notification service's signals, connected by name.
    void onActionInvoked(uint id, const QString &actionKey);
    void onActivationToken(uint id, const QString &token);
    void onNotificationClosed(uint id, uint reason);

private:
    struct ProjectState
    {
        std::optional<ProjectSummary> lastSummary;
        std::optional<std::chrono::steady_clock::time_point> lastSent;
        QList<ChangeEvent> waiting;
    };
    // What a click on a shown notification leads to.
    struct Target
    {
        QUrl root;
        std::optional<QUrl> changeFolder; // none: the project's dashboard
    };

    bool eventFilter(QObject *watched, QEvent *event) override;
    void onSummaryPublished(const QUrl &root);
    void onProjectRootsChanged();
    void dropWaitingEvents();
    void send(const QUrl &root, const QList<ChangeEvent> &events);
    void scheduleTimer();
    void bringForward(const Target &target);
    static void sayUnavailableOnce(const QString &reason);

    MainWindow &m_window;
    QDBusConnection m_bus;
    bool m_enabled = false;
    Clock m_clock;
    QTimer m_timer;
    QHash<QUrl, ProjectState> m_projects;
    QHash<uint, Target> m_shown;
    QString m_activationToken;
};

} // namespace kestrune
