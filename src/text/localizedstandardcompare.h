#pragma once

#include <QCollatorSortKey>
#include <QString>

namespace kestrune {

// The order a file browser shows names in: letter case ignored, runs of digits compared by
// numeric value, in the user's locale. Used by the outline and by the project tabs.
int localizedStandardCompare(const QString &left, const QString &right);

// A key that orders like localizedStandardCompare; cheaper when one name is compared many times.
QCollatorSortKey localizedStandardSortKey(const QString &name);

} // namespace kestrune
