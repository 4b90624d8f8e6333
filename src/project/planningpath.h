#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

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
// file, or the file's name without ".md" when it lies in "specs" itself. A capability's own file
// (isCapabilityFile) is specs/<capability>/spec.md or specs/<capability>.md, in the current
// specifications and in a change alike: the files a change's review compares.
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
    // The change folder relative to the planning folder, "changes/<change>" or
    // "changes/archive/<change>" (the archive folder as it is spelt); with `change`.
    QString changeFolderPath;
    QString capability; // specifications and delta specifications
    bool isCapabilityFile = false;
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
    // What `url` is in the planning folder of the project at `root`; nothing when it lies
    // outside that folder.
    static std::optional<PlanningPath> inPlanningFolder(const QUrl &root, const QUrl &url, bool isFolder);
    // The URL of a path relative to the planning folder of the project at `root`.
    static QUrl urlInPlanningFolder(const QUrl &root, QStringView relativePath);
    // The project a URL lies in, read from its path alone: the folder holding the nearest
    // planning folder above it. Nothing when no folder above it is named like one.
    static std::optional<QUrl> projectRootAbove(const QUrl &url);
    // "archive" or "archived" in any letter case: the one rule of the scanner, the change
    // analysis, the change lookup and the review.
    static bool isArchiveFolderName(QStringView name);
};

} // namespace kestrune
