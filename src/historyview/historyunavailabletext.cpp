#include "historyview/historyunavailabletext.h"

#include "ui/localization.h"

namespace kestrune {

QString HistoryUnavailableText::of(HistoryUnavailable reason, const QString &detail)
{
    switch (reason) {
    case HistoryUnavailable::noRepository:
        return Localization::text("history.unavailable.no_repository");
    case HistoryUnavailable::bareRepository:
        return Localization::text("history.unavailable.bare_repository");
    case HistoryUnavailable::noCommits:
        return Localization::text("history.unavailable.no_commits");
    case HistoryUnavailable::none:
    case HistoryUnavailable::unreadable:
        break;
    }
    QString text = Localization::format("history.unavailable.unreadable", detail).trimmed();
    if (detail.isEmpty() && text.endsWith(u':'))
        text.chop(1); // nothing to say after the colon
    return text;
}

} // namespace kestrune
