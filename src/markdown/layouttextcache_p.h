#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>

class LayoutTextNode;

// Keeps the text layouts of the most recently used texts of a document (those painted or hit
// tested lately) and releases the rest, so a long document holds shaped text only for about a
// screenful or two. Measuring needs no kept layout: Qt shapes a text again on every layout pass.
class LayoutTextCache
{
public:
    static constexpr size_t defaultCapacity = 1024;

    explicit LayoutTextCache(size_t capacity = defaultCapacity);

    // Marks the node's layout as just used; releases the layout of the least recent node when
    // over capacity.
    void touch(LayoutTextNode *node);
    // Forgets a node (it is going away or released its layout itself).
    void remove(LayoutTextNode *node);
    void clear();
    size_t size() const { return m_order.size(); }

private:
    size_t m_capacity;
    std::list<LayoutTextNode *> m_order; // most recent first
    std::unordered_map<LayoutTextNode *, std::list<LayoutTextNode *>::iterator> m_positions;
};
