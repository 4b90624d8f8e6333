#pragma once

// Hands a history's entries to its reader in batches: the first entry at once, so a view shows
// something as soon as there is something, then whatever was found every 50 ms or 64 entries,
// so a long history costs its reader a few deliveries instead of one per entry.

#include "history/historyoutcome.h"

#include <QElapsedTimer>

#include <functional>

namespace kestrune {

template <typename Entry> class BatchDelivery
{
public:
    using Deliver = std::function<void(HistoryBatch<Entry> &&)>;

    explicit BatchDelivery(const Deliver &deliver) : m_deliver(deliver) { m_sinceDelivery.start(); }

    void add(Entry &&entry)
    {
        m_batch.entries.append(std::move(entry));
        if (m_first || m_batch.entries.size() >= maximumEntries)
            deliver();
        else
            poll();
    }

    // Delivers what waits once it has waited long enough; called between commits.
    void poll()
    {
        if (!m_batch.entries.isEmpty() && m_sinceDelivery.elapsed() >= maximumWaitMs)
            deliver();
    }

    void finish(HistoryOutcome outcome)
    {
        m_batch.outcome = std::move(outcome);
        deliver();
    }

private:
    static constexpr qsizetype maximumEntries = 64;
    static constexpr qint64 maximumWaitMs = 50;

    void deliver()
    {
        m_first = false;
        if (m_deliver)
            m_deliver(std::move(m_batch));
        m_batch = {};
        m_sinceDelivery.restart();
    }

    Deliver m_deliver;
    HistoryBatch<Entry> m_batch;
    QElapsedTimer m_sinceDelivery;
    bool m_first = true;
};

} // namespace kestrune
