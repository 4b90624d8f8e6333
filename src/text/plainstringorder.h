#pragma once

#include <QStringView>

namespace kestrune {

// Plain string order: by Unicode scalar values, so upper case comes before lower case. Used for
// specification names and per-folder statistics, where names are not in file-browser order.
bool plainStringLess(QStringView left, QStringView right);

} // namespace kestrune
