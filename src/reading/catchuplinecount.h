#pragma once

#include "reading/catchupentry.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kestrune {

// What the catch-up list says of a file's lines: still being counted, counted (lines added and
// removed since the text seen), or not countable (no earlier text, too large, not text, too many
// changes to follow): then the file is only "changed".
struct CatchUpLineCount
{
    enum class State
    {
        counting,
        counted,
        uncounted,
    };

    State state = State::counting;
    int added = 0;
    int removed = 0;

    static CatchUpLineCount counted(int added, int removed) { return {State::counted, added, removed}; }
    static CatchUpLineCount uncounted() { return {State::uncounted, 0, 0}; }

    // The lines of an entry: a changed file's text against the text seen, every line of a new
    // file added, every line of a removed file's seen text removed. `seen` is the text the store
    // holds (none when it holds none); the file is read from its URL, `largestFile` bytes at most.
    // Bounded, but reads the disk: off the window's thread.
    static CatchUpLineCount of(const CatchUpEntry &entry, const std::optional<QByteArray> &seen,
                               qint64 largestFile = defaultLargestFile);
    // The lines of a whole text, as the block diff counts them; none when it is not UTF-8.
    static std::optional<int> lineCountOf(const QByteArray &bytes);

    static constexpr qint64 defaultLargestFile = qint64(8) << 20; // what the preview still renders

    friend bool operator==(const CatchUpLineCount &, const CatchUpLineCount &) = default;
};

} // namespace kestrune
