#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace kestrune {

class LayoutNode;

// Destroys the laid-out pages of documents that are no longer shown a slice at
// a time between events. The page of a 10 MB document holds a few hundred
// thousand nodes and takes over half a second to free; done at once, switching
// documents would freeze the window for that long.
//
// The nodes must no longer be reachable from anything else: in particular, text
// nodes must have left their document's shaped-text list.
class LayoutNodeDisposal
{
public:
    // How long one slice may take.
    static constexpr int sliceMilliseconds = 8;

    // Takes the nodes and frees them over the next turns of the event loop (at
    // once without one; on DocumentModelDisposal's thread when called from
    // another thread).
    static void dispose(std::vector<std::unique_ptr<LayoutNode>> nodes);
    // Top-level nodes handed over and not freed yet (null ones counted too).
    static std::size_t pending();
};

} // namespace kestrune
