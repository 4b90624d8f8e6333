#pragma once

#include "highlight/codetoken.h"

#include <QHash>
#include <QList>
#include <QString>

#include <list>
#include <mutex>
#include <optional>

namespace kestrune {

// The tokens of code blocks already highlighted, by language and code, so that a block built
// again (a parked block come back into view, a relayout, the window thread after the pool) is
// not highlighted again. A block that could not be highlighted in its time is kept as plain
// (no tokens), so it costs its budget once. Bounded in bytes of code and tokens; the least
// recently used entry goes first. Safe to use from any thread at once.
class CodeHighlightCache
{
public:
    static constexpr qsizetype defaultByteBudget = 8 * 1024 * 1024;

    explicit CodeHighlightCache(qsizetype byteBudget = defaultByteBudget);

    // The one cache the layout engine shares between its pages and threads.
    static CodeHighlightCache &shared();

    // Known: the tokens (empty optional: plain). Unknown: nothing.
    std::optional<std::optional<QList<CodeToken>>> find(const QString &language, const QString &code);
    void insert(const QString &language, const QString &code, const std::optional<QList<CodeToken>> &tokens);

    qsizetype byteSize() const;
    void clear();

private:
    struct Key
    {
        QString language;
        QString code;
        friend bool operator==(const Key &, const Key &) = default;
    };
    friend size_t qHash(const Key &key, size_t seed) { return qHashMulti(seed, key.language, key.code); }

    struct Entry
    {
        Key key;
        std::optional<QList<CodeToken>> tokens;
        qsizetype bytes = 0;
    };
    using Recency = std::list<Entry>; // most recently used first

    void dropOverBudget();

    const qsizetype m_byteBudget;
    mutable std::mutex m_mutex;
    Recency m_recency;
    QHash<Key, Recency::iterator> m_entries;
    qsizetype m_bytes = 0;
};

} // namespace kestrune
