#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace kestrune {

// A project folder in a temporary directory, written by a test.
class ProjectFolder
{
public:
    // `name` is the project folder's own name; `parents` optional folders above it.
    explicit ProjectFolder(const QString &name = QStringLiteral("project"),
                           const QString &parents = QString());
    ~ProjectFolder();
    ProjectFolder(const ProjectFolder &) = delete;
    ProjectFolder &operator=(const ProjectFolder &) = delete;

    QString path() const { return m_path; }
    QUrl url() const { return QUrl::fromLocalFile(m_path); }
    QString pathOf(const QString &relative) const { return m_path + QLatin1Char('/') + relative; }
    QUrl urlOf(const QString &relative) const { return QUrl::fromLocalFile(pathOf(relative)); }

    // Writes a file (creating its folders); a valid `modified` sets its modification time.
    void write(const QString &relative, const QByteArray &content = QByteArray(),
               const QDateTime &modified = QDateTime());
    // Like write, for a path given as the bytes the system stores, which need not be UTF-8.
    void writeNative(const QByteArray &relative, const QByteArray &content = QByteArray(),
                     const QDateTime &modified = QDateTime());
    // Writes `fileName` at the bottom of `depth` nested folders named "d" below `folder`, made
    // one at a time: the whole path may be longer than the system accepts. Returns its path.
    QString writeNested(const QString &folder, int depth, const QString &fileName, const QByteArray &content,
                        const QDateTime &modified);
    void makeFolder(const QString &relative);
    void setModified(const QString &relative, const QDateTime &modified);

private:
    QTemporaryDir m_temporary;
    QString m_path;
};

} // namespace kestrune
