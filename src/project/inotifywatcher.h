#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

class QSocketNotifier;

namespace kestrune {

// Watches folders and files through the system's file notifications (inotify), the way Qt's file
// system watcher does, at the cost of one lookup per path: Qt's watcher compares each path it is
// given with every path it watches already, which made watching a large project's twelve
// thousand paths take most of the window thread's time for half a second after its import.
//
// A folder reports its entries coming, going, being renamed or changing their attributes; a file
// reports writes, attribute changes and being deleted or moved away. A path whose watch the
// system ended (deleted, moved away, its file system unmounted) is reported once more and then no
// longer watched. Events that arrive together are reported once per path.
class InotifyWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InotifyWatcher(QObject *parent = nullptr);
    ~InotifyWatcher() override;

    // Watches each path not watched yet and returns those the system refused: gone, unreadable,
    // or beyond the limit of watches (fs.inotify.max_user_watches).
    QStringList addPaths(const QStringList &paths);
    void removePaths(const QStringList &paths);

    bool isWatching(const QString &path) const { return m_watches.contains(path); }
    qsizetype count() const { return m_watches.size(); }
    QStringList paths() const { return m_watches.keys(); }

Q_SIGNALS:
    void directoryChanged(const QString &path);
    void fileChanged(const QString &path);
    // The system dropped events it had no room to queue: anything may have changed.
    void eventsLost();

private:
    struct Watch
    {
        int descriptor = -1;
        bool folder = false;
    };

    void readEvents();
    void forget(const QString &path);

    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, Watch> m_watches;
    // Two paths of one file (a hard link, a folder reached twice) share the system's watch.
    QMultiHash<int, QString> m_paths;
};

} // namespace kestrune
