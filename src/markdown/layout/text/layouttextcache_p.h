#pragma once

#include <QtGlobal>

#include <cstddef>

namespace kestrune {

class LayoutTextNode;

// Keeps the shaped text of the most recently painted or hit-tested texts of a document (and of
// measured texts that QTextLayout wraps), up to a number of characters and of texts, and releases the rest. A
// released text keeps its lines, so a new width or a repaint elsewhere costs nothing; it is shaped
// again when it is next painted or hit-tested, so a 10 MB document does not hold shaped glyphs for
// all of its text.
//
// The recency list runs through the nodes themselves (see Link): touching a node is a few
// pointer writes, with nothing to look up or allocate.
class LayoutTextCache
{
public:
    static constexpr size_t defaultCapacity = 500'000; // characters
    // At most this many texts, however short: list markers are a character or two each, and a
    // long page has tens of thousands of them.
    static constexpr size_t nodeCapacity = 4096;

    // A node's place in the list.
    struct Link
    {
        LayoutTextNode *newer = nullptr;
        LayoutTextNode *older = nullptr;
        qsizetype characters = 0; // counted when listed, so that forgetting reads no text
        bool listed = false;
    };

    explicit LayoutTextCache(size_t capacity = defaultCapacity);
    ~LayoutTextCache();
    LayoutTextCache(const LayoutTextCache &) = delete;
    LayoutTextCache &operator=(const LayoutTextCache &) = delete;

    // Marks the node's layout as just used; releases the layout of the least recent nodes while
    // over capacity.
    void touch(LayoutTextNode *node);
    // Forgets a node (it is going away or released its layout itself).
    void remove(LayoutTextNode *node);
    void clear();
    size_t size() const { return m_count; }
    size_t characters() const { return m_characters; }

private:
    void unlink(LayoutTextNode *node);

    size_t m_capacity;
    size_t m_characters = 0;
    size_t m_count = 0;
    LayoutTextNode *m_newest = nullptr;
    LayoutTextNode *m_oldest = nullptr;
};

} // namespace kestrune
