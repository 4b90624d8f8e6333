#pragma once

#include "review/changereview.h"

#include <QJsonObject>

namespace kestrune {

// JSON form of a change's review: {"change", "path", "archived", "flagged", "counts",
// "capabilities": [{"name", "deltaFile", "specificationFile", "error", "counts",
// "requirementsOutsideDeltaSections", "requirements": [{"name", "kind", "flags", "state",
// "suggestion", "hunks": [{"op", "text"}]}]}]}.
namespace ReviewReport {

QJsonObject reviewToJson(const ChangeReview &review);

} // namespace ReviewReport

} // namespace kestrune
