#pragma once

#include "reading/cardreadingfacts.h"
#include "reading/readingmarks.h"
#include "reading/readingstorenotice.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace kestrune {

class ProjectStore;
class ReadingStore;

// What the reader has seen of every open project: one ReadingStore per project of the
// ProjectStore, made when the project is imported (or reopened) and dropped when it is removed.
// Every outline published is marked against it off the window's thread, and again after each
// file seen; the latest marks and card facts of each project are kept here for the outline, the
// dashboard, the preview and any list of what is new. A project imported for the first time
// counts as entirely seen.
class ProjectReading : public QObject
{
    Q_OBJECT

public:
    // `stateRoot`: where the stores live; empty for the user's state folder.
    explicit ProjectReading(ProjectStore &projects, QString stateRoot = QString(), QObject *parent = nullptr);
    ~ProjectReading() override;

    // The store of an open project; null for a folder that is not open.
    ReadingStore *storeFor(const QUrl &root) const;
    // The latest marks and facts of a project's outline; nothing before the first are computed.
    std::optional<ReadingMarks> marksFor(const QUrl &root) const;
    // Reads the text last seen of a file changed since, and hands it to `deliver` on the window's
    // thread while `context` lives; nothing for a file unchanged, new, or whose text the store no
    // longer holds.
    void readSeenTextOfChanged(const QUrl &root, const QUrl &file, QObject *context,
                               std::function<void(const QByteArray &)> deliver);
    std::optional<CardReadingFacts> factsFor(const QUrl &root) const;
    // The path of a file of an open project as its store names it; empty outside the outline's root.
    QString relativePath(const QUrl &root, const QUrl &file) const;

    // The reader has seen `bytes` of the file at `file`, as of the file's date `modificationDate`.
    void markSeen(const QUrl &root, const QUrl &file, const QByteArray &bytes,
                  const QDateTime &modificationDate);
    // Every file of the project's latest outline counts as seen as it is now.
    void markAllSeen(const QUrl &root);
    // Forgets what was seen of the project; its files count as seen as they are now.
    void forget(const QUrl &root);

Q_SIGNALS:
    // New marks and facts of a project's outline.
    void marksChanged(const QUrl &root);
    // A project's store could not be read and was set aside.
    void noticeRaised(const QUrl &root, const kestrune::ReadingStoreNotice &notice);

private:
    struct Project
    {
        std::shared_ptr<ReadingStore> store; // held here alone
        std::optional<ReadingMarks> marks;
        std::optional<CardReadingFacts> facts;
    };

    void followProjects();
    void open(const QUrl &root);
    void computeMarks(const QUrl &root);

    ProjectStore &m_projects;
    QString m_stateRoot;
    QHash<QUrl, Project> m_open;
};

} // namespace kestrune
