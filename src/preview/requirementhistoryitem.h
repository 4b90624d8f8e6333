#pragma once

#include "project/deltaspectype.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <optional>

namespace kestrune {

// One line of a requirement's history as the review page lists it: a commit that added, changed
// or removed the requirement, with the archived change that altered it, if the commit brought one
// in. A commit that brought in several archived changes gives one line for each.
struct RequirementHistoryItem
{
    QString commit; // 40 hexadecimal digits
    QDateTime time;
    QString author;
    QString subject;
    DeltaSpecType kind = DeltaSpecType::modified;
    QString archivedChange;           // the archived change's folder name, empty when there is none
    std::optional<QUrl> changeFolder; // that folder, while it is on disk (its review can be opened)
};

} // namespace kestrune
