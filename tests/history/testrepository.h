#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct git_repository;

namespace kestrune {

// A git repository made by a test in a temporary folder, through the git library: files are
// written to the work tree and kept in a map, and each commit is a tree built from the map, so
// no index and no git program are involved. Commits are a minute apart from a fixed time, so the
// order of a timeline is known.
class TestRepository
{
public:
    enum class Kind
    {
        workTree,
        bare,
    };

    explicit TestRepository(Kind kind = Kind::workTree);
    ~TestRepository();
    TestRepository(const TestRepository &) = delete;
    TestRepository &operator=(const TestRepository &) = delete;

    QString path() const { return m_temporary.path(); }
    QString pathOf(const QString &relative) const { return path() + u'/' + relative; }
    QString gitFolder() const;
    git_repository *repository() const { return m_repository; }

    // Paths relative to the work tree, "/" between names; the bytes are stored as they are.
    void write(const QByteArray &path, const QByteArray &content);
    void remove(const QByteArray &path);
    // Moves every file below folder `from` to below `to`.
    void moveFolder(const QByteArray &from, const QByteArray &to);

    // Commits the files as they are now on top of HEAD; the new commit's id.
    QString commit(const QByteArray &message);
    // The file of an object in the object store (loose objects only).
    QString looseObjectPath(const QString &sha) const;
    // The id of the blob or tree at a path in a commit.
    QString objectAt(const QString &commit, const QByteArray &path) const;

private:
    QTemporaryDir m_temporary;
    git_repository *m_repository = nullptr;
    QMap<QByteArray, QByteArray> m_files;
    QDateTime m_time = QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::OffsetFromUTC, 3600);
};

// Every entry below a folder with its size and modification time, in path order: what a test
// compares before and after reading a repository, which must write nothing.
QStringList snapshotOf(const QString &folder);

} // namespace kestrune
