#include "app/changenotifications.h"

#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "project/changeeventdetector.h"
#include "ui/localization.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>

namespace kestrune {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");
const QString defaultAction = QStringLiteral("default");

QString lineOf(const ChangeEvent &event)
{
    switch (event.kind) {
    case ChangeEvent::Kind::finished:
        return Localization::format("notification.change.finished", event.changeName);
    case ChangeEvent::Kind::added:
        return Localization::format("notification.change.added", event.changeName);
    case ChangeEvent::Kind::archived:
        break;
    }
    return Localization::format("notification.change.archived", event.changeName);
}

// The folder of the one change all the events are about; nothing when they are about several.
std::optional<QUrl> onlyChangeOf(const QList<ChangeEvent> &events)
{
    if (events.isEmpty())
        return std::nullopt;
    const QString &name = events.constFirst().changeName;
    const bool same = std::all_of(events.cbegin(), events.cend(),
                                  [&name](const ChangeEvent &event) { return event.changeName == name; });
    if (!same)
        return std::nullopt;
    return events.constLast().changeFolder; // where it is now, archived or not
}

} // namespace

ChangeNotifications::ChangeNotifications(MainWindow &window, const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_window(window), m_bus(bus), m_clock([] { return std::chrono::steady_clock::now(); })
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ChangeNotifications::sendDueNotifications);
    const ProjectStore &store = window.contentView()->store();
    connect(&store, &ProjectStore::summaryByProjectChanged, this, &ChangeNotifications::onSummaryPublished);
    connect(&store, &ProjectStore::projectRootsChanged, this, &ChangeNotifications::onProjectRootsChanged);
    window.installEventFilter(this);
    if (m_bus.isConnected()) {
        m_bus.connect(service, objectPath, interfaceName, QStringLiteral("ActionInvoked"), this,
                      SLOT(onActionInvoked(uint, QString)));
        m_bus.connect(service, objectPath, interfaceName, QStringLiteral("ActivationToken"), this,
                      SLOT(onActivationToken(uint, QString)));
        m_bus.connect(service, objectPath, interfaceName, QStringLiteral("NotificationClosed"), this,
                      SLOT(onNotificationClosed(uint, uint)));
    }
}

ChangeNotifications::~ChangeNotifications() = default;

void ChangeNotifications::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        dropWaitingEvents();
}

void ChangeNotifications::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool ChangeNotifications::hasWaitingEvents() const
{
    return std::any_of(m_projects.cbegin(), m_projects.cend(),
                       [](const ProjectState &state) { return !state.waiting.isEmpty(); });
}

void ChangeNotifications::onSummaryPublished(const QUrl &root)
{
    const std::optional<ProjectSummary> summary = m_window.contentView()->store().summaryForProject(root);
    if (!summary)
        return;
    ProjectState &state = m_projects[root];
    const std::optional<ProjectSummary> before = std::exchange(state.lastSummary, summary);
    if (!before || !m_enabled || m_window.isActiveWindow())
        return;
    const QList<ChangeEvent> events = ChangeEventDetector::between(*before, *summary);
    if (events.isEmpty())
        return;
    const auto now = m_clock();
    if (state.waiting.isEmpty() && (!state.lastSent || now - *state.lastSent >= quietPeriod)) {
        state.lastSent = now;
        send(root, events);
        return;
    }
    for (const ChangeEvent &event : events) {
        if (!state.waiting.contains(event))
            state.waiting.append(event);
    }
    scheduleTimer();
}

void ChangeNotifications::sendDueNotifications()
{
    // News for a reader who came back meanwhile is no news.
    if (m_window.isActiveWindow()) {
        dropWaitingEvents();
        return;
    }
    const auto now = m_clock();
    for (auto it = m_projects.begin(); it != m_projects.end(); ++it) {
        ProjectState &state = it.value();
        if (state.waiting.isEmpty() || (state.lastSent && now - *state.lastSent < quietPeriod))
            continue;
        state.lastSent = now;
        send(it.key(), std::exchange(state.waiting, {}));
    }
    scheduleTimer();
}

void ChangeNotifications::scheduleTimer()
{
    std::optional<std::chrono::milliseconds> soonest;
    const auto now = m_clock();
    for (const ProjectState &state : std::as_const(m_projects)) {
        if (state.waiting.isEmpty())
            continue;
        const auto left =
            state.lastSent
                ? std::chrono::duration_cast<std::chrono::milliseconds>(*state.lastSent + quietPeriod - now)
                : std::chrono::milliseconds(0);
        soonest = std::min(soonest.value_or(left), left);
    }
    if (!soonest) {
        m_timer.stop();
        return;
    }
    m_timer.start(std::max(*soonest, std::chrono::milliseconds(0)));
}

void ChangeNotifications::dropWaitingEvents()
{
    for (ProjectState &state : m_projects)
        state.waiting.clear();
    m_timer.stop();
}

void ChangeNotifications::onProjectRootsChanged()
{
    // A project imported again starts afresh: its first summary is no news.
    const QList<QUrl> &roots = m_window.contentView()->store().projectRoots();
    for (auto it = m_projects.begin(); it != m_projects.end();) {
        if (roots.contains(it.key()))
            ++it;
        else
            it = m_projects.erase(it);
    }
    scheduleTimer();
}

bool ChangeNotifications::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowActivate)
        dropWaitingEvents();
    return QObject::eventFilter(watched, event);
}

std::pair<QString, QString> ChangeNotifications::textOf(const QString &projectName,
                                                        const QList<ChangeEvent> &events)
{
    QStringList lines;
    for (qsizetype index = 0; index < std::min(events.size(), mostLinesTold); ++index)
        lines.append(lineOf(events.at(index)));
    if (events.size() > mostLinesTold)
        lines.append(Localization::format("notification.change.more", events.size() - mostLinesTold));
    return {projectName, lines.join(QLatin1Char('\n'))};
}

void ChangeNotifications::send(const QUrl &root, const QList<ChangeEvent> &events)
{
    if (!m_bus.isConnected()) {
        sayUnavailableOnce(QStringLiteral("there is no session bus"));
        Q_EMIT serviceAnswered(false);
        return;
    }
    const auto [summary, body] = textOf(ProjectStore::folderName(root), events);
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, objectPath, interfaceName, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(KESTRUNE_APP_ID)}};
    call << Localization::text("app.title") << 0U << QStringLiteral(KESTRUNE_APP_ID) << summary << body
         << QStringList{defaultAction, Localization::text("notification.action.show")} << hints << -1;
    const Target target{root, onlyChangeOf(events)};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, target](QDBusPendingCallWatcher *self) {
        self->deleteLater();
        const QDBusPendingReply<uint> reply = *self;
        if (reply.isError()) {
            sayUnavailableOnce(reply.error().message());
            Q_EMIT serviceAnswered(false);
            return;
        }
        m_shown.insert(reply.value(), target);
        Q_EMIT serviceAnswered(true);
    });
}

void ChangeNotifications::sayUnavailableOnce(const QString &reason)
{
    static std::atomic<bool> said = false;
    if (said.exchange(true))
        return;
    qWarning("desktop notifications are not shown: %s", qUtf8Printable(reason));
}

void ChangeNotifications::onActivationToken(uint id, const QString &token)
{
    if (m_shown.contains(id))
        m_activationToken = token;
}

void ChangeNotifications::onActionInvoked(uint id, const QString &actionKey)
{
    const auto it = m_shown.constFind(id);
    if (it == m_shown.cend() || actionKey != defaultAction)
        return;
    bringForward(it.value());
}

void ChangeNotifications::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    m_shown.remove(id);
}

void ChangeNotifications::bringForward(const Target &target)
{
    MainContentView *view = m_window.contentView();
    if (view->store().projectRoots().contains(target.root)) {
        if (!target.changeFolder) {
            view->setSelectedProjectRoot(target.root);
            view->showDashboard();
        } else {
            // As the dashboard opens a change: its proposal, else the folder in the outline.
            const QString proposal =
                QDir(target.changeFolder->toLocalFile()).filePath(QStringLiteral("proposal.md"));
            view->openLocation(target.root, QFileInfo(proposal).isFile() ? QUrl::fromLocalFile(proposal)
                                                                         : *target.changeFolder);
        }
    }
    m_window.bringForward(std::exchange(m_activationToken, {}));
}

} // namespace kestrune
