#include "project/inotifywatcher.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QVarLengthArray>

#include <cstring>

#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

constexpr quint32 folderEvents = IN_ATTRIB | IN_MOVE | IN_CREATE | IN_DELETE | IN_DELETE_SELF;
constexpr quint32 fileEvents = IN_ATTRIB | IN_MODIFY | IN_MOVE | IN_MOVE_SELF | IN_DELETE_SELF;
// The system has ended the watch, or is about to.
constexpr quint32 watchEnded = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

} // namespace

InotifyWatcher::InotifyWatcher(QObject *parent) : QObject(parent)
{
    m_descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_descriptor >= 0) {
        m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &InotifyWatcher::readEvents);
    }
}

InotifyWatcher::~InotifyWatcher()
{
    if (m_descriptor >= 0) {
        delete m_notifier;
        ::close(m_descriptor); // ends every watch at once
    }
}

QStringList InotifyWatcher::addPaths(const QStringList &paths)
{
    QStringList refused;
    for (const QString &path : paths) {
        if (path.isEmpty() || m_watches.contains(path))
            continue;
        const QByteArray name = QFile::encodeName(path);
        struct stat status
        {
        };
        if (m_descriptor < 0 || ::stat(name.constData(), &status) != 0) {
            refused.append(path);
            continue;
        }
        const bool folder = S_ISDIR(status.st_mode);
        const int watch =
            inotify_add_watch(m_descriptor, name.constData(), folder ? folderEvents : fileEvents);
        if (watch < 0) {
            refused.append(path);
            continue;
        }
        m_watches.insert(path, {watch, folder});
        m_paths.insert(watch, path);
    }
    return refused;
}

void InotifyWatcher::removePaths(const QStringList &paths)
{
    for (const QString &path : paths) {
        const auto watch = m_watches.constFind(path);
        if (watch == m_watches.cend())
            continue;
        const int descriptor = watch->descriptor;
        forget(path);
        if (!m_paths.contains(descriptor))
            inotify_rm_watch(m_descriptor, descriptor);
    }
}

void InotifyWatcher::forget(const QString &path)
{
    const auto watch = m_watches.find(path);
    if (watch == m_watches.end())
        return;
    m_paths.remove(watch->descriptor, path);
    m_watches.erase(watch);
}

void InotifyWatcher::readEvents()
{
    int available = 0;
    if (ioctl(m_descriptor, FIONREAD, &available) != 0 || available <= 0)
        available = 4096;
    QVarLengthArray<char, 4096> buffer(available);
    const ssize_t length = ::read(m_descriptor, buffer.data(), buffer.size());
    if (length <= 0)
        return;

    // What happened to each watch, in the order the watches first spoke.
    QList<int> order;
    QHash<int, quint32> masks;
    bool lost = false;
    for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= length;) {
        inotify_event event{};
        memcpy(&event, buffer.constData() + at, sizeof event);
        at += ssize_t(sizeof event) + event.len;
        if (event.mask & IN_Q_OVERFLOW) {
            lost = true;
            continue;
        }
        auto mask = masks.find(event.wd);
        if (mask == masks.end()) {
            order.append(event.wd);
            mask = masks.insert(event.wd, 0);
        }
        *mask |= event.mask;
    }
    // A receiver may stop the watch, or end the watcher, at any signal.
    const QPointer<InotifyWatcher> alive(this);
    if (lost)
        Q_EMIT eventsLost();
    for (const int descriptor : std::as_const(order)) {
        if (!alive)
            return;
        const quint32 mask = masks.value(descriptor);
        const QStringList paths = m_paths.values(descriptor);
        for (const QString &path : paths) {
            if (!alive)
                return;
            const auto watch = m_watches.constFind(path);
            if (watch == m_watches.cend() || watch->descriptor != descriptor)
                continue; // no longer watched, or watched again since
            const bool folder = watch->folder;
            if (mask & watchEnded)
                forget(path);
            if (folder)
                Q_EMIT directoryChanged(path);
            else
                Q_EMIT fileChanged(path);
        }
        if (alive && (mask & watchEnded) && !(mask & IN_IGNORED) && !m_paths.contains(descriptor))
            inotify_rm_watch(m_descriptor, descriptor);
    }
}

} // namespace kestrune
