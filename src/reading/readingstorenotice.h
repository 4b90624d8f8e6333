#pragma once

#include <QString>

namespace kestrune {

// Why a project's store could not be read and where it was set aside: the one line the window
// shows. The project itself is never touched; its reading history starts again as a first import.
struct ReadingStoreNotice
{
    enum class Reason
    {
        damaged,        // not a store, or its contents do not match their checksum
        truncated,      // shorter than it says it is
        foreignVersion, // written by a version of the program that reads it differently
        unreadable,     // the system refused to read it
    };

    Reason reason = Reason::damaged;
    QString setAsidePath; // where the store was renamed to; empty when it could not be moved

    // One line in English, for logs and the command line; the window says it in its own words.
    QString line() const;

    friend bool operator==(const ReadingStoreNotice &, const ReadingStoreNotice &) = default;
};

} // namespace kestrune
