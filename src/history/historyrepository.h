#pragma once

#include "history/commitrecord.h"
#include "history/historicalfile.h"
#include "history/historyunavailable.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace kestrune {

struct HistoryRepositoryState;

// The git repository a project folder lies in, opened to be read and never written: no index is
// read or refreshed, no object, reference, configuration or lock file is written. The repository
// may hold the project at its root or in a folder below it; a repository above the project is
// only used when the project lies in its work tree, and a bare repository gives no history.
//
// One repository is used by one thread at a time: a worker opens its own (opening is cheap).
class HistoryRepository
{
public:
    struct Opening
    {
        std::unique_ptr<HistoryRepository> repository; // null when there is no history
        HistoryUnavailable reason = HistoryUnavailable::none;
        QString message; // the reason in words, with the library's own word when it failed
        // Where the repository keeps HEAD (a linked work tree's own folder below the main one)
        // and where it keeps its references and packed-refs, canonical; set whenever a work tree
        // was found, so a watcher can follow a repository that has no commit yet.
        QString gitFolder;
        QString commonGitFolder;
    };

    static Opening open(const QString &projectFolder);
    ~HistoryRepository();
    HistoryRepository(const HistoryRepository &) = delete;
    HistoryRepository &operator=(const HistoryRepository &) = delete;

    // Canonical absolute paths, without a trailing slash.
    QString workTreeRoot() const;
    QString projectFolder() const;

    // The commit HEAD names (a branch or a detached one).
    std::optional<CommitRecord> head() const;
    // A commit by its full or abbreviated id; nothing when there is none.
    std::optional<CommitRecord> commit(const QString &sha) const;

    // The content of a file (a path relative to the project folder) at a commit; nothing when the
    // commit does not hold it, with the reason in `why`.
    std::optional<QByteArray> fileAt(const QString &sha, const QString &path, QString *why = nullptr) const;
    // The Markdown files of kestrune/specs at a commit.
    SpecificationSnapshot specificationsAt(const QString &sha) const;

    // The library's own state, for the history's sources (its type is private to them).
    HistoryRepositoryState &state() const { return *m_state; }

private:
    explicit HistoryRepository(std::unique_ptr<HistoryRepositoryState> state);

    std::unique_ptr<HistoryRepositoryState> m_state;
};

} // namespace kestrune
