#pragma once

#include "preview/reviewbaseline.h"
#include "project/changestatus.h"
#include "review/changereview.h"

#include <optional>

namespace kestrune {

// What the review of a change is made from: the comparison of its delta specifications with the
// current ones (or those of an earlier commit), and the change's status in the project's summary.
struct ChangeReviewInput
{
    ChangeReview review;
    std::optional<ChangeStatus> status;
    // The commit whose specifications the review compares with; none: those on disk.
    std::optional<ReviewBaseline> baseline;
};

} // namespace kestrune
