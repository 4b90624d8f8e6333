#include "markdown/layout/text/layouttextcache_p.h"

#include "markdown/layout/nodes/layouttextnode_p.h"

#include <utility>

namespace kestrune {

LayoutTextCache::LayoutTextCache(size_t capacity) : m_capacity(capacity) {}

LayoutTextCache::~LayoutTextCache()
{
    clear();
}

void LayoutTextCache::unlink(LayoutTextNode *node)
{
    Link &link = node->cacheLink();
    (link.newer ? link.newer->cacheLink().older : m_newest) = link.older;
    (link.older ? link.older->cacheLink().newer : m_oldest) = link.newer;
    m_characters -= size_t(link.characters);
    link = Link();
    --m_count;
}

void LayoutTextCache::touch(LayoutTextNode *node)
{
    Link &link = node->cacheLink();
    if (link.listed) {
        if (m_newest == node)
            return;
        unlink(node);
    }
    link.listed = true;
    link.characters = node->length();
    link.older = m_newest;
    link.newer = nullptr;
    (m_newest ? m_newest->cacheLink().newer : m_oldest) = node;
    m_newest = node;
    ++m_count;
    m_characters += size_t(link.characters);
    while ((m_characters > m_capacity || m_count > nodeCapacity) && m_count > 1) {
        LayoutTextNode *oldest = m_oldest;
        unlink(oldest);
        oldest->releaseLayout();
    }
}

void LayoutTextCache::remove(LayoutTextNode *node)
{
    if (node->cacheLink().listed)
        unlink(node);
}

void LayoutTextCache::clear()
{
    // A page of thousands of listed texts is dropped at once: one write per node, nothing else.
    for (LayoutTextNode *node = m_oldest; node;)
        node = std::exchange(node->cacheLink(), Link()).newer;
    m_newest = nullptr;
    m_oldest = nullptr;
    m_count = 0;
    m_characters = 0;
}

} // namespace kestrune
