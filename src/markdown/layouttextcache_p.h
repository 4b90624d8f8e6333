#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>

class LayoutTextNode;

// Keeps the shaped text of the most recently measured, painted or hit-tested texts of a
// document, up to a number of characters, and releases the rest. Within the budget a new width
// only breaks lines again (a whole 1 MB document fits); beyond it, the least recently used texts
// are shaped again when they are next needed, so a 10 MB document does not hold shaped glyphs
// for all of its text.
class LayoutTextCache
{
public:
    static constexpr size_t defaultCapacity = 2'000'000; // characters

    explicit LayoutTextCache(size_t capacity = defaultCapacity);

    // Marks the node's layout as just used; releases the layout of the least recent node when
    // over capacity.
    void touch(LayoutTextNode *node);
    // Forgets a node (it is going away or released its layout itself).
    void remove(LayoutTextNode *node);
    void clear();
    size_t size() const { return m_order.size(); }
    size_t characters() const { return m_characters; }

private:
    size_t m_capacity;
    size_t m_characters = 0;
    std::list<LayoutTextNode *> m_order; // most recent first
    std::unordered_map<LayoutTextNode *, std::list<LayoutTextNode *>::iterator> m_positions;
};
