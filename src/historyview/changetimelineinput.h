#pragma once

#include <QString>

namespace kestrune {

// What the history of one change is read from: absolute local paths of the project and of the
// change's folder as it is now (in the archive for an archived change), and its name to show.
struct ChangeTimelineInput
{
    QString projectFolder;
    QString changeFolder;
    QString changeName;

    friend bool operator==(const ChangeTimelineInput &, const ChangeTimelineInput &) = default;
};

} // namespace kestrune
