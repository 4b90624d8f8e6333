#pragma once

#include "project/planningpath.h"
#include "project/treenode.h"
#include "search/quickopenentry.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QThreadPool>
#include <QUrl>

#include <atomic>
#include <memory>
#include <optional>

namespace kestrune {

class ProjectStore;

// Every "### Requirement: NAME" heading (or "Requirement：") of the projects' current
// specifications and of their changes' delta specifications, archived changes included, as quick
// open entries that open the file at that heading. Each published outline updates its project in
// the background: a file whose URL and modification date are those indexed keeps its entries,
// any other is read again on a thread of the index's own, and files the outline no longer lists
// are dropped. Files are read through RegularFileReader, at most `largestFile` bytes; a file
// that is not UTF-8, holds a NUL byte, or cannot be read (gone meanwhile) gives no entries.
class RequirementIndex : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 largestFile = qint64(8) << 20;

    explicit RequirementIndex(QObject *parent = nullptr);
    // Stops the reads running (between two files) and waits for them.
    ~RequirementIndex() override;

    // Updates a project whenever the store publishes its outline, and forgets removed projects.
    void follow(const ProjectStore &store);
    // Brings a project's entries up to date with its outline. While an update of the project
    // runs, the latest outline given waits for it and is indexed next.
    void updateProject(const QUrl &root, std::shared_ptr<const TreeNode> tree);
    void removeProject(const QUrl &root);

    // The entries of every project indexed, projects in the order of their URLs, each project's
    // in the order of its outline and of the headings in each file.
    QList<QuickOpenEntry> entries() const;
    QList<QuickOpenEntry> entriesOf(const QUrl &root) const;
    bool isIndexing(const QUrl &root) const;
    // How many files the latest update of the project read (the others kept their entries).
    int filesReadLastTime(const QUrl &root) const;

    // The entries of one file's text.
    static QList<QuickOpenEntry> entriesOfText(QStringView text, const QUrl &root, const QUrl &file,
                                               const PlanningPath &path);

Q_SIGNALS:
    // New entries of the project are there.
    void projectIndexed(const QUrl &root);

private:
    struct IndexedFile
    {
        std::optional<QDateTime> modified;
        QList<QuickOpenEntry> entries;
    };
    using FileTable = QHash<QUrl, IndexedFile>;
    struct Update
    {
        FileTable files;
        QList<QuickOpenEntry> entries;
        int filesRead = 0;
        bool cancelled = false;
    };
    struct Project
    {
        FileTable files;
        QList<QuickOpenEntry> entries;
        int filesRead = 0;
        bool running = false;
        std::shared_ptr<const TreeNode> pending;
        std::shared_ptr<std::atomic_bool> cancel;
    };

    void start(const QUrl &root, const std::shared_ptr<const TreeNode> &tree);
    void finish(const QUrl &root, const std::shared_ptr<std::atomic_bool> &cancel, Update update);
    static Update index(const QUrl &root, const TreeNode &tree, const FileTable &previous,
                        const std::atomic_bool &cancel);
    static std::optional<QList<QuickOpenEntry>> readFile(const QUrl &root, const TreeNode &file,
                                                         const PlanningPath &path);

    QHash<QUrl, Project> m_projects;
    QThreadPool m_pool;
};

} // namespace kestrune
