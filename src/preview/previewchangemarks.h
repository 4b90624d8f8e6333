#pragma once

#include "markdown/layout/view/changemark.h"
#include "reading/blockdiff.h"

namespace kestrune {

// The change marks the views of the preview paint for the blocks a comparison with the text
// last seen (or an earlier version) found: added, modified and removed, by lines of the text on
// show; blocks removed together become one marker.
class PreviewChangeMarks
{
public:
    PreviewChangeMarks() = delete;

    static ChangeMarks from(const BlockDiffResult &diff);
};

} // namespace kestrune
