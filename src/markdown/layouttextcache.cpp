#include "markdown/layouttextcache_p.h"

#include "markdown/layouttextnode_p.h"

LayoutTextCache::LayoutTextCache(size_t capacity)
    : m_capacity(capacity)
{
}

void LayoutTextCache::touch(LayoutTextNode *node)
{
    const auto found = m_positions.find(node);
    if (found != m_positions.end()) {
        m_order.splice(m_order.begin(), m_order, found->second);
        return;
    }
    m_order.push_front(node);
    m_positions.emplace(node, m_order.begin());
    m_characters += size_t(node->length());
    while (m_characters > m_capacity && m_order.size() > 1) {
        LayoutTextNode *oldest = m_order.back();
        m_order.pop_back();
        m_positions.erase(oldest);
        m_characters -= size_t(oldest->length());
        oldest->releaseLayout();
    }
}

void LayoutTextCache::remove(LayoutTextNode *node)
{
    const auto found = m_positions.find(node);
    if (found == m_positions.end())
        return;
    m_characters -= size_t(node->length());
    m_order.erase(found->second);
    m_positions.erase(found);
}

void LayoutTextCache::clear()
{
    m_order.clear();
    m_positions.clear();
    m_characters = 0;
}
