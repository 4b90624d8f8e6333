#pragma once

#include "history/historyunavailable.h"

#include <QString>

namespace kestrune {

// Why a project has no history, in the interface language: one wording for every view that
// reads the history (a change's timeline, a file's versions).
class HistoryUnavailableText
{
public:
    HistoryUnavailableText() = delete;

    // `detail`: the library's own words, said after an unreadable repository's reason.
    static QString of(HistoryUnavailable reason, const QString &detail = QString());
};

} // namespace kestrune
