#pragma once

#include <QString>
#include <QUrl>

namespace kestrune {

// Something that happened to one change of a project between two of its summaries, worth telling
// a reader who is not looking (see ChangeEventDetector).
struct ChangeEvent
{
    enum class Kind
    {
        finished, // every task of its task list is done now, and was not before
        added,    // a change folder that was not there before
        archived, // moved into the archive of finished changes
    };

    Kind kind = Kind::added;
    // The name the change is known by: its folder name, or, once archived, the name it had
    // before (the archive folder's name without its date).
    QString changeName;
    // Where the change is now.
    QUrl changeFolder;

    friend bool operator==(const ChangeEvent &, const ChangeEvent &) = default;
};

} // namespace kestrune
