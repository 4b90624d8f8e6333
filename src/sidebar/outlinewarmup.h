#pragma once

#include "project/treenode.h"

namespace kestrune {

class ThemeController;
class WarmUpQueue;

// What the outline's first paint of a project would load for the first time in a process (the
// row and badge fonts, the symbols of folders, files and the disclosure marks in the outline's
// colours, the style's polish of the tree view), queued for a warm-up to load ahead: one piece
// draws a sample outline hidden, closed and then open, through the view's own code.
class OutlineWarmUp
{
public:
    OutlineWarmUp() = delete;

    static void addTo(WarmUpQueue &queue, ThemeController &themeController);
    // The sample outline: a project with its planning folder, a change with a delta
    // specification of each kind, an archived change and a specification.
    static TreeNode sampleTree();
};

} // namespace kestrune
