#include "markdown/layout/layouttextcache_p.h"

#include "markdown/layout/layouttextnode_p.h"

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
    link = Link();
    --m_count;
    m_characters -= size_t(node->length());
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
    link.older = m_newest;
    link.newer = nullptr;
    (m_newest ? m_newest->cacheLink().newer : m_oldest) = node;
    m_newest = node;
    ++m_count;
    m_characters += size_t(node->length());
    while (m_characters > m_capacity && m_count > 1) {
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
    while (m_oldest)
        unlink(m_oldest);
}

} // namespace kestrune
