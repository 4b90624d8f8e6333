#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

namespace kestrune {

// What a file or folder is in a project's planning folder, read from its path alone:
//
//     specs/<capability>/spec.md, specs/<capability>.md        specification
//     specs/<any>/<other>.md                                   specification text (specificationText)
//     changes/<change>/                                        change folder
//     changes/archive/<change>/ (or archived)                  archived change folder
//     changes/<change>/specs/<capability>/spec.md (any .md)    delta specification
//
// The capability of a file below a "specs" folder is the folder path between "specs/" and the
// file, or the file's name without ".md" when it lies in "specs" itself.
struct PlanningPath
{
    enum class Kind
    {
        other,
        specification,     // the file of a capability of the current specifications
        specificationText, // any other Markdown file below "specs"
        changeFolder,
        deltaSpecification,
    };

    Kind kind = Kind::other;
    QString relativePath; // to the planning folder, "/" between names
    QString change;       // the change's folder name (change folders and delta specifications)
    QString capability;   // specifications and delta specifications
    bool isArchived = false;

    // Whether the file's requirements are current or proposed ones.
    bool holdsRequirements() const
    {
        return kind == Kind::specification || kind == Kind::specificationText ||
               kind == Kind::deltaSpecification;
    }

    static PlanningPath of(QStringView relativePath, bool isFolder);
    // The path of `url` relative to the planning folder of the project (`root`/kestrune), or to
    // the project folder when it lies outside it; empty for a URL outside the project.
    static QString relativeTo(const QUrl &root, const QUrl &url);
    static bool isArchiveFolderName(QStringView name);
};

} // namespace kestrune
