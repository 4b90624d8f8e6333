#pragma once

#include <array>
#include <cstddef>
#include <vector>

struct cmark_mem;

namespace kestrune {

// Memory for one parse: every allocation the parser makes while the arena is
// alive comes from a few large blocks, and all of it is returned at once when
// the arena ends, without visiting the parser's tree.
//
// The parser builds a tree of a hundred thousand nodes for a megabyte of text
// and tears it down again as soon as the document model is made. From the
// process heap that costs a call per node both ways and leaves the heap
// fragmented for the model that is built next; from an arena both are a pointer
// bump and the tear-down is free.
//
// An arena holds at most `budget` bytes. Past that, or when the system has no
// more memory, an allocation throws std::bad_alloc through the parser's frames
// (which carry unwind tables) to whoever parses: the arena still returns all
// of it, so a failed parse leaks nothing and leaves no state behind.
//
// The parser's allocator functions take no context, so they reach the arena
// through a per-thread pointer: the latest arena of a thread is the one in use,
// and everything allocated from it must be used on that thread, before the
// arena ends.
//
//     CmarkArena arena;
//     cmark_parser *parser = cmark_parser_new_with_mem(options, arena.allocator());
//     ... parse and read the tree; never free it ...
class CmarkArena
{
public:
    // Freed allocations up to this size are reused.
    static constexpr std::size_t largestReusedSize = 1024;

    explicit CmarkArena(std::size_t budget);
    ~CmarkArena();
    CmarkArena(const CmarkArena &) = delete;
    CmarkArena &operator=(const CmarkArena &) = delete;

    cmark_mem *allocator() const;

    // The memory mapped so far: what counts against the budget, and never less than what the
    // parse has in use at once.
    std::size_t mappedBytes() const { return m_mapped; }

    void *allocate(std::size_t size);
    void *allocateZeroed(std::size_t size);
    void *reallocate(void *payload, std::size_t size);
    void release(void *payload);

private:
    void startBlock(std::size_t needed);
    void *takeReused(std::size_t size);

    struct Block
    {
        void *begin = nullptr;
        std::size_t size = 0;
    };

    std::vector<Block> m_blocks;
    std::size_t m_budget = 0;
    std::size_t m_mapped = 0;
    std::byte *m_cursor = nullptr;
    std::byte *m_end = nullptr;
    std::byte *m_untouched = nullptr; // from here to the block's end, memory was never handed out
    std::byte *m_last = nullptr;      // the payload of the latest allocation, while it can still grow
    // Room freed below the cursor, by size in steps of 8 bytes: lists linked through the payloads.
    std::array<void *, largestReusedSize / 8 + 1> m_freed = {};
    CmarkArena *m_enclosing = nullptr;
};

} // namespace kestrune
