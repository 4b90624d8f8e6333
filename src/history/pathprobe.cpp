#include "history/pathprobe_p.h"

namespace kestrune {

void PathProbe::follow(const QByteArray &path)
{
    m_path = path;
    m_entries.clear();
}

PathEntry PathProbe::inParent(const git_commit *commit)
{
    const QByteArray key = git::keyOf(*git_commit_id(commit));
    const auto known = m_entries.constFind(key);
    if (known != m_entries.constEnd())
        return *known;
    const PathEntry entry = lookUp(commit);
    m_entries.insert(key, entry);
    return entry;
}

PathEntry PathProbe::inCommit(const git_commit *commit)
{
    const auto known = m_entries.find(git::keyOf(*git_commit_id(commit)));
    if (known == m_entries.end())
        return lookUp(commit);
    const PathEntry entry = *known;
    m_entries.erase(known);
    return entry;
}

PathEntry PathProbe::lookUp(const git_commit *commit)
{
    PathEntry entry;
    entry.oid = m_trees.entryOid(*git_commit_tree_id(commit), m_path, &entry.unreadable);
    return entry;
}

} // namespace kestrune
