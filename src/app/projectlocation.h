#pragma once

#include <QString>

#include <optional>

namespace kestrune {

// Why a path named to the program cannot be opened.
enum class ProjectLocationError
{
    doesNotExist,
    notAFolder,       // a file that is not a Markdown file inside a project
    noKestruneFolder, // neither the folder nor any folder above it holds a "kestrune" folder
    notLocal          // an address of another kind than file: (sftp://, http://, ...)
};

// Where a path named to the program lies (on the command line, by a second start of the program,
// in the import dialog): the project that encloses it, which is the nearest folder, the path
// itself first, that holds a "kestrune" folder, and what to show inside that project. The
// project's own folder shows its dashboard; a folder inside it (its "kestrune" folder, a change,
// any folder below) is revealed in the outline and a Markdown file is opened. Other files are
// refused, as are paths with no project above them.
struct ProjectLocation
{
    // The path as named, absolute and clean.
    QString path;
    // The enclosing project's folder; empty when the path cannot be opened.
    QString projectRoot;
    // What to show inside the project; empty when the path is the project's folder.
    QString target;
    std::optional<ProjectLocationError> error;

    // Reads the file system. A relative path is taken from the working folder.
    static ProjectLocation resolve(const QString &path);
    // Whether the text is an address with a scheme other than file: ("sftp://host/folder"),
    // which names no local path.
    static bool isRemoteAddress(const QString &text);

    // "<path>: does not exist" and the like, for the import alert and standard error; empty when
    // the path can be opened.
    QString errorText() const;
};

} // namespace kestrune
