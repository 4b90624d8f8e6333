#pragma once

// The walk behind a file's history, newest first: one id lookup per commit decides whether
// the commit touched the file; a commit in which the file appears is asked for renames, and the
// walk follows the file to its old path or ends where it was added. The requirement history
// reads the same walk, with the commit and its parent at hand for each entry.

#include "history/commitwalk_p.h"
#include "history/filehistoryentry.h"
#include "history/historyoutcome.h"
#include "history/pathprobe_p.h"
#include "history/treepaths_p.h"

#include <QByteArray>

#include <functional>
#include <optional>

namespace kestrune {

struct HistoryRepositoryState;

class FileHistoryReader
{
public:
    // An entry, with the repository paths of the file after and before the commit (none when
    // added) and the commits compared.
    struct Step
    {
        FileHistoryEntry entry;
        QByteArray path;
        QByteArray previousPath;
        const git_commit *commit = nullptr;
        const git_commit *parent = nullptr;
    };

    FileHistoryReader(const HistoryRepositoryState &state, QByteArray path);

    HistoryOutcome read(const std::function<void(const Step &)> &visit,
                        const std::function<void()> &betweenCommits, const HistoryCancelCheck &isCancelled);
    TreePaths &trees() { return m_trees; }

private:
    std::optional<QByteArray> renamedFrom(const git_commit *commit, const git_commit *parent);

    const HistoryRepositoryState &m_state;
    TreePaths m_trees;
    PathProbe m_probe;
};

} // namespace kestrune
