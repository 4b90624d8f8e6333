#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace kestrune {

// The candidate most like `name`, for "did you mean" hints: the fewest single-character edits
// (insertions, deletions, substitutions; letter case ignored), the first candidate on a tie.
// Nothing when even the closest one differs in more than a third of its characters.
std::optional<QString> closestName(QStringView name, const QStringList &candidates);

// The number of single-character edits turning one text into the other.
qsizetype editDistance(QStringView left, QStringView right);

} // namespace kestrune
