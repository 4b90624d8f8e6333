#pragma once

#include <QString>

// A git repository made for the history benchmark: `commits` commits over a planning folder of
// `changes` changes. The first `changes` commits propose one change each; every later commit
// edits a design, ticks a task, writes a delta specification, edits a current specification or
// archives a change, drawn from a fixed seed. One change, proposed early, is followed through
// the whole history: designed, given tasks, ticked three times and archived near the end.
// Objects are written in memory and stored as one pack, as a cloned repository keeps them.
struct GeneratedHistory
{
    QString workTree;     // the project folder (the work tree's root); only the followed change's
                          // folder and the planning folders exist on disk
    QString changeName;   // the followed change's archive folder name
    QString changeFolder; // its absolute folder
    QString proposal;     // its proposal.md, moved into the archive with it
    QString activeFolder; // where it was before (relative to the work tree)
    int commits = 0;
    int changes = 0;
    int archived = 0;
    qint64 packBytes = 0;
};

// Makes the repository in `folder`, or reads what an earlier run made there.
GeneratedHistory generateHistory(const QString &folder, int commits = 10000, int changes = 2000);
