#pragma once

namespace kestrune {

class LayoutNode;
class LayoutTextCache;

// What a LayoutDocument checks and undoes before it parks a top-level block, freeing its nodes
// and keeping only its height (see LayoutDocument::setResidentRange): walks over the block's
// node tree.
class BlockParking
{
public:
    // Whether a block's nodes hold something that building them again would lose: a picture,
    // or code scrolled sideways.
    static bool holdsKeptState(const LayoutNode &node);
    // Takes a block's texts off the shaped-text list, so that its nodes may be freed later and
    // without the document.
    static void forgetShapedTexts(LayoutNode &node, LayoutTextCache &cache);
};

} // namespace kestrune
