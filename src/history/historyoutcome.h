#pragma once

#include "history/historyunavailable.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrune {

// Asked between commits: whether the reader has lost interest (a view closed, another change
// chosen). An atomic flag, a std::stop_token or a QPromise's isCanceled fit behind it.
using HistoryCancelCheck = std::function<bool()>;

// How a history read ended.
struct HistoryOutcome
{
    enum class End
    {
        complete,    // every reachable commit was read (or the history's start was found)
        cancelled,   // the reader lost interest; what was delivered is a beginning
        unavailable, // no history at all: see `reason`
    };

    End end = End::complete;
    HistoryUnavailable reason = HistoryUnavailable::none;
    // What could not be read, each naming its object: the result is partial when there is any.
    QStringList messages;

    bool isPartial() const { return !messages.isEmpty(); }
};

// A part of a history as it arrives, newest first: the first batch holds the first entry found,
// the next ones what was found since. The last batch carries the outcome.
template <typename Entry> struct HistoryBatch
{
    QList<Entry> entries;
    std::optional<HistoryOutcome> outcome; // in the last batch only
};

} // namespace kestrune
