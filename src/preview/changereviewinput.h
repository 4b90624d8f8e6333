#pragma once

#include "project/changestatus.h"
#include "review/changereview.h"

#include <optional>

namespace kestrune {

// What the review of a change is made from: the comparison of its delta specifications with the
// current ones, and the change's status in the project's summary.
struct ChangeReviewInput
{
    ChangeReview review;
    std::optional<ChangeStatus> status;
};

} // namespace kestrune
