#pragma once

#include <QString>

namespace kestrune {

// Where the reading store lives: $XDG_STATE_HOME/kestrune/reading/, ~/.local/state/kestrune/reading/
// when the variable is unset, empty or not an absolute path (as the base directory rules say),
// one folder per project below it. A project is known by its canonical path, so a project moved
// or renamed on disk is a new project, and one reached through a symbolic link is the same one.
class ReadingStateFolder
{
public:
    ReadingStateFolder() = delete;

    // The folder holding every project's store.
    static QString root();
    // The canonical path of a project folder; empty when it does not exist.
    static QString canonicalProjectPath(const QString &projectFolder);
    // The store folder of a project below `root`: its folder name (for a person looking), then a
    // hash of the whole canonical path.
    static QString ofProject(const QString &root, const QString &canonicalProjectPath);
};

} // namespace kestrune
