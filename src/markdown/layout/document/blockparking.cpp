#include "markdown/layout/document/blockparking_p.h"

#include "markdown/layout/nodes/layoutimagenode_p.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/text/layouttextcache_p.h"

namespace kestrune {

bool BlockParking::holdsKeptState(const LayoutNode &node)
{
    if (const auto *scroll = dynamic_cast<const LayoutScrollNode *>(&node); scroll && scroll->offset() != 0)
        return true;
    if (dynamic_cast<const LayoutImageNode *>(&node))
        return true;
    for (int index = 0; index < node.childCount(); ++index) {
        if (holdsKeptState(*node.child(index)))
            return true;
    }
    return false;
}

void BlockParking::forgetShapedTexts(LayoutNode &node, LayoutTextCache &cache)
{
    if (auto *text = dynamic_cast<LayoutTextNode *>(&node))
        cache.remove(text);
    for (int index = 0; index < node.childCount(); ++index)
        forgetShapedTexts(*node.child(index), cache);
}

} // namespace kestrune
