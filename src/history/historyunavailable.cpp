#include "history/historyunavailable.h"

namespace kestrune {

QString describe(HistoryUnavailable reason)
{
    switch (reason) {
    case HistoryUnavailable::none:
        return {};
    case HistoryUnavailable::noRepository:
        return QStringLiteral("the folder is not in a git work tree");
    case HistoryUnavailable::bareRepository:
        return QStringLiteral("the repository is bare: it has no work tree");
    case HistoryUnavailable::noCommits:
        return QStringLiteral("the repository has no commits yet");
    case HistoryUnavailable::unreadable:
        return QStringLiteral("the repository could not be read");
    }
    return {};
}

} // namespace kestrune
