#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace kestrune {

// The project folders opened lately, most recent first, at most `maximumCount`. The list is
// kept in the settings under `settingsKey` (paths only) and written at every change, so the
// next start finds it. A folder that is gone stays on the list, reported as missing, until it
// is removed or pushed out.
class RecentProjects : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *settingsKey = "projects/recent";
    static constexpr int maximumCount = 10;

    struct Entry
    {
        QString path;
        // Whether the folder is still there; looked at when the entries are asked for.
        bool exists = false;
    };

    // Reads the list from the application's settings.
    explicit RecentProjects(QObject *parent = nullptr);
    // The same, with the list kept in the given settings (tests use a temporary file).
    explicit RecentProjects(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    ~RecentProjects() override;

    const QStringList &paths() const { return m_paths; }
    QList<Entry> entries() const;

    // Puts a folder first (moving it when it is listed already) and drops the oldest beyond
    // the maximum.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

Q_SIGNALS:
    void changed();

private:
    void setPaths(QStringList paths);

    std::unique_ptr<QSettings> m_settings;
    QStringList m_paths;
};

} // namespace kestrune
