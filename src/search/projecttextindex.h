#pragma once

#include "search/searchablefile.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUrl>

namespace kestrune {

class ProjectStore;

// The text of every Markdown file of every project of a store, read once and held in memory for
// project search. It follows the store: each newly published outline is compared with what was
// read before, and only the files that are new or changed (by modification date) are read again;
// vanished files are dropped. All of it runs on the thread pool. A project has at most one update running; an
// outline published meanwhile is taken up once it is done.
class ProjectTextIndex : public QObject
{
    Q_OBJECT

public:
    explicit ProjectTextIndex(ProjectStore &store, QObject *parent = nullptr);
    ~ProjectTextIndex() override;

    // The files of a project as last read, in outline order; empty until its first update is done.
    QList<SearchableFilePointer> files(const QUrl &root) const;
    // Whether any file of the project has been read yet.
    bool isIndexed(const QUrl &root) const { return m_projects.value(root).indexed; }
    // Whether an update of the project is running or waiting to run.
    bool isUpdating(const QUrl &root) const;
    bool isUpdatingAny() const;

Q_SIGNALS:
    // An update of the project is done: the files read again (new or changed) and the files dropped.
    void projectUpdated(const QUrl &root, const QList<QUrl> &changedFiles, const QList<QUrl> &removedFiles);
    // isUpdating of the project changed.
    void updatingChanged(const QUrl &root);

private:
    struct Project
    {
        QList<SearchableFilePointer> files;
        bool indexed = false;
        bool running = false;
        bool pending = false;
    };

    void requestUpdate(const QUrl &root);
    void startUpdate(const QUrl &root);
    void finishUpdate(const QUrl &root, QList<SearchableFilePointer> files, const QList<QUrl> &changed,
                      const QList<QUrl> &removed);
    void dropRemovedProjects();

    ProjectStore &m_store;
    QHash<QUrl, Project> m_projects;
};

} // namespace kestrune
