#include "markdown/layout/text/codehighlightcache_p.h"

namespace kestrune {

namespace {

qsizetype bytesOf(const QString &language, const QString &code, const std::optional<QList<CodeToken>> &tokens)
{
    constexpr qsizetype entryOverhead = 128; // list and hash nodes, the strings' headers
    return (language.size() + code.size()) * qsizetype(sizeof(QChar)) +
           (tokens ? tokens->size() * qsizetype(sizeof(CodeToken)) : 0) + entryOverhead;
}

} // namespace

CodeHighlightCache::CodeHighlightCache(qsizetype byteBudget) : m_byteBudget(byteBudget) {}

CodeHighlightCache &CodeHighlightCache::shared()
{
    static CodeHighlightCache cache;
    return cache;
}

std::optional<std::optional<QList<CodeToken>>> CodeHighlightCache::find(const QString &language,
                                                                        const QString &code)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_entries.constFind(Key{language, code});
    if (found == m_entries.cend())
        return std::nullopt;
    m_recency.splice(m_recency.begin(), m_recency, *found);
    return (*found)->tokens;
}

void CodeHighlightCache::insert(const QString &language, const QString &code,
                                const std::optional<QList<CodeToken>> &tokens)
{
    const qsizetype bytes = bytesOf(language, code, tokens);
    const std::lock_guard lock(m_mutex);
    Key key{language, code};
    if (const auto found = m_entries.constFind(key); found != m_entries.cend()) {
        m_bytes -= (*found)->bytes;
        m_recency.erase(*found);
        m_entries.erase(found);
    }
    if (bytes > m_byteBudget)
        return;
    m_recency.push_front(Entry{key, tokens, bytes});
    m_entries.insert(key, m_recency.begin());
    m_bytes += bytes;
    dropOverBudget();
}

void CodeHighlightCache::dropOverBudget()
{
    while (m_bytes > m_byteBudget && !m_recency.empty()) {
        const Entry &oldest = m_recency.back();
        m_bytes -= oldest.bytes;
        m_entries.remove(oldest.key);
        m_recency.pop_back();
    }
}

qsizetype CodeHighlightCache::byteSize() const
{
    const std::lock_guard lock(m_mutex);
    return m_bytes;
}

void CodeHighlightCache::clear()
{
    const std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_recency.clear();
    m_bytes = 0;
}

} // namespace kestrune
