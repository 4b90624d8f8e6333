#include "markdown/document/cmarkarena_p.h"

#include "markdown/document/cmarkgfm_p.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include <sys/mman.h>

namespace kestrune {

namespace {

// Each allocation is preceded by its size, so that it can be grown by copying.
constexpr std::size_t headerSize = sizeof(std::size_t);
constexpr std::size_t alignment = 8; // the parser keeps nothing wider than a pointer
static_assert(headerSize % alignment == 0);
static_assert(CmarkArena::largestReusedSize % alignment == 0);

// Blocks double from the first size to the last, so a small document costs one
// small mapping and a large one a few large mappings.
constexpr std::size_t firstBlockSize = std::size_t(2) << 20;
constexpr std::size_t largestBlockSize = std::size_t(64) << 20;
// Blocks this large ask for huge pages: a parse touches every page it maps, and
// one fault per huge page costs far less than one per small page.
constexpr std::size_t hugePageBlockSize = std::size_t(2) << 20;

constexpr std::size_t largestAllocation = std::numeric_limits<std::size_t>::max() / 2;

thread_local CmarkArena *activeArena = nullptr;

std::size_t roundUp(std::size_t size)
{
    return (size + alignment - 1) & ~(alignment - 1);
}

// The room an allocation of `size` bytes takes after its header: at least a pointer, so that
// it can wait in a list of freed room.
std::size_t roomFor(std::size_t size)
{
    return std::max(roundUp(size), sizeof(void *));
}

std::size_t &sizeOf(void *payload)
{
    return *reinterpret_cast<std::size_t *>(static_cast<std::byte *>(payload) - headerSize);
}

[[noreturn]] void outOfMemory()
{
    throw std::bad_alloc();
}

void *arenaCalloc(std::size_t count, std::size_t size)
{
    if (size != 0 && count > largestAllocation / size)
        outOfMemory();
    return activeArena->allocateZeroed(count * size);
}

void *arenaRealloc(void *payload, std::size_t size)
{
    return activeArena->reallocate(payload, size);
}

void arenaFree(void *payload)
{
    activeArena->release(payload);
}

cmark_mem arenaAllocator = {arenaCalloc, arenaRealloc, arenaFree};

} // namespace

CmarkArena::CmarkArena(std::size_t budget) : m_budget(budget), m_enclosing(activeArena)
{
    activeArena = this;
}

CmarkArena::~CmarkArena()
{
    activeArena = m_enclosing;
    for (const Block &block : m_blocks)
        munmap(block.begin, block.size);
}

cmark_mem *CmarkArena::allocator() const
{
    return &arenaAllocator;
}

void CmarkArena::startBlock(std::size_t needed)
{
    std::size_t size =
        m_blocks.empty() ? firstBlockSize : std::min(m_blocks.back().size * 2, largestBlockSize);
    while (size < needed)
        size *= 2;
    if (size > m_budget - std::min(m_budget, m_mapped)) {
        // The last block may still fit in what is left of the budget.
        size = needed;
        if (size > m_budget - std::min(m_budget, m_mapped))
            outOfMemory();
    }
    void *begin = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (begin == MAP_FAILED)
        outOfMemory();
#if defined(MADV_HUGEPAGE)
    if (size >= hugePageBlockSize)
        madvise(begin, size, MADV_HUGEPAGE); // advice only: without huge pages nothing changes
#endif
    m_mapped += size;
    m_blocks.push_back({begin, size});
    m_cursor = static_cast<std::byte *>(begin);
    m_end = m_cursor + size;
    m_untouched = m_cursor;
}

void *CmarkArena::takeReused(std::size_t size)
{
    void *&first = m_freed[roomFor(size) / alignment];
    void *payload = first;
    if (payload) {
        first = *static_cast<void **>(payload);
        sizeOf(payload) = size;
    }
    return payload;
}

void *CmarkArena::allocate(std::size_t size)
{
    if (size > largestAllocation)
        outOfMemory();
    if (roomFor(size) <= largestReusedSize) {
        if (void *reused = takeReused(size))
            return reused;
    }
    const std::size_t needed = headerSize + roomFor(size);
    if (std::size_t(m_end - m_cursor) < needed)
        startBlock(needed);
    std::byte *payload = m_cursor + headerSize;
    sizeOf(payload) = size;
    m_cursor += needed;
    m_untouched = std::max(m_untouched, m_cursor);
    m_last = payload;
    return payload;
}

void *CmarkArena::allocateZeroed(std::size_t size)
{
    if (size <= largestAllocation && roomFor(size) <= largestReusedSize) {
        if (void *reused = takeReused(size))
            return std::memset(reused, 0, size);
    }
    // Fresh mapped memory reads as zero; only the room the latest allocation gave back to the
    // block needs clearing.
    std::byte *const untouched = m_untouched;
    std::byte *payload = static_cast<std::byte *>(allocate(size));
    if (payload < untouched)
        std::memset(payload, 0, std::size_t(std::min(untouched, payload + size) - payload));
    return payload;
}

void *CmarkArena::reallocate(void *payload, std::size_t size)
{
    if (!payload)
        return allocate(size);
    const std::size_t oldSize = sizeOf(payload);
    if (size <= oldSize)
        return payload;
    if (size > largestAllocation)
        outOfMemory();
    // The latest allocation grows in place while its block has room: the
    // parser's buffers mostly grow right after they were last written.
    std::byte *begin = static_cast<std::byte *>(payload);
    if (begin == m_last && roomFor(size) <= std::size_t(m_end - begin)) {
        sizeOf(payload) = size;
        m_cursor = begin + roomFor(size);
        m_untouched = std::max(m_untouched, m_cursor);
        return payload;
    }
    void *moved = allocate(size);
    std::memcpy(moved, payload, oldSize);
    release(payload);
    return moved;
}

void CmarkArena::release(void *payload)
{
    if (!payload)
        return;
    // The latest allocation gives its room back to the block, a small one waits for the next
    // allocation of its size; larger ones go with the arena.
    if (payload == m_last) {
        m_cursor = static_cast<std::byte *>(payload) - headerSize;
        m_last = nullptr;
        return;
    }
    const std::size_t room = roomFor(sizeOf(payload));
    if (room <= largestReusedSize) {
        void *&first = m_freed[room / alignment];
        *static_cast<void **>(payload) = first;
        first = payload;
    }
}

} // namespace kestrune
