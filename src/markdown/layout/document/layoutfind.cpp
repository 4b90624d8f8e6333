#include "markdown/layout/document/layoutfind_p.h"

#include "markdown/layout/document/blockmatchcounter_p.h"
#include "text/backgroundpool.h"

#include <QElapsedTimer>
#include <QPromise>
#include <QThreadPool>

namespace kestrune {

namespace {

// How long the counting works before it hands what it found to the window.
constexpr qint64 sliceMilliseconds = 10;

} // namespace

LayoutFind::LayoutFind(QObject *parent) : QObject(parent) {}

LayoutFind::~LayoutFind()
{
    clear();
}

void LayoutFind::start(const SearchPattern &query, const std::vector<QList<BlockNode>> &blockLists)
{
    clear();
    m_query = query;
    if (query.isEmpty())
        return;
    size_t count = 0;
    for (const QList<BlockNode> &blocks : blockLists)
        count += size_t(blocks.size());
    m_counts.assign(count, -1);
    m_fromLayout.assign(count, false);
    if (count == 0)
        return;
    auto promise = std::make_shared<QPromise<Slice>>();
    m_watcher = std::make_unique<QFutureWatcher<Slice>>();
    connect(m_watcher.get(), &QFutureWatcherBase::resultsReadyAt, this, &LayoutFind::takeSlices);
    m_watcher->setFuture(promise->future());
    promise->start();
    BackgroundPool::instance()->start([promise, query, blockLists] {
        QElapsedTimer timer;
        timer.start();
        Slice slice;
        int index = 0;
        for (const QList<BlockNode> &blocks : blockLists) {
            for (const BlockNode &block : blocks) {
                if (promise->isCanceled())
                    break;
                if (slice.counts.isEmpty())
                    slice.first = index;
                slice.counts.append(BlockMatchCounter::count(block, query));
                ++index;
                if (timer.elapsed() >= sliceMilliseconds) {
                    promise->addResult(std::exchange(slice, {}));
                    timer.restart();
                }
            }
        }
        if (!slice.counts.isEmpty())
            promise->addResult(slice);
        promise->finish();
    });
}

void LayoutFind::addBlocks(const QList<BlockNode> &blocks)
{
    if (!isActive() || blocks.isEmpty())
        return;
    const int first = int(m_counts.size());
    m_counts.resize(m_counts.size() + size_t(blocks.size()), -1);
    m_fromLayout.resize(m_counts.size(), false);
    QList<int> counts;
    counts.reserve(blocks.size());
    for (const BlockNode &block : blocks)
        counts.append(BlockMatchCounter::count(block, m_query));
    store(first, counts);
}

void LayoutFind::clear()
{
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->future().cancel();
        m_watcher.reset();
    }
    m_query = {};
    m_counts.clear();
    m_fromLayout.clear();
    m_total = 0;
    m_countedThrough = 0;
}

void LayoutFind::takeSlices(int begin, int end)
{
    for (int i = begin; i < end; ++i) {
        const Slice slice = m_watcher->resultAt(i);
        store(slice.first, slice.counts);
    }
}

void LayoutFind::store(int first, const QList<int> &counts)
{
    for (int i = 0; i < counts.size(); ++i) {
        const size_t block = size_t(first) + size_t(i);
        if (block >= m_counts.size() || m_fromLayout[block])
            continue;
        m_total += counts[i] - std::max(0, m_counts[block]);
        m_counts[block] = counts[i];
    }
    while (m_countedThrough < int(m_counts.size()) && m_counts[size_t(m_countedThrough)] >= 0)
        ++m_countedThrough;
    Q_EMIT progressed();
}

int LayoutFind::count(int block) const
{
    return block >= 0 && block < int(m_counts.size()) ? m_counts[size_t(block)] : -1;
}

void LayoutFind::setLayoutCount(int block, int count)
{
    if (block < 0 || block >= int(m_counts.size()))
        return;
    if (m_counts[size_t(block)] != count)
        store(block, {count});
    m_fromLayout[size_t(block)] = true;
}

bool LayoutFind::hasLayoutCount(int block) const
{
    return block >= 0 && block < int(m_fromLayout.size()) && m_fromLayout[size_t(block)];
}

int LayoutFind::ordinal(Match match) const
{
    int ordinal = match.index + 1;
    for (int block = 0; block < match.block && block < int(m_counts.size()); ++block)
        ordinal += std::max(0, m_counts[size_t(block)]);
    return ordinal;
}

std::optional<LayoutFind::Match> LayoutFind::firstFrom(int block, int index) const
{
    for (int b = std::max(0, block); b < int(m_counts.size()); ++b) {
        const int count = m_counts[size_t(b)];
        if (count < 0)
            return std::nullopt;
        const int from = b == block ? std::max(0, index) : 0;
        if (count > from)
            return Match{b, from};
    }
    return std::nullopt;
}

std::optional<LayoutFind::Match> LayoutFind::next(Match match) const
{
    if (match.index + 1 < count(match.block))
        return Match{match.block, match.index + 1};
    const int blocks = int(m_counts.size());
    for (int step = 1; step <= blocks; ++step) {
        const int block = (match.block + step) % blocks;
        if (count(block) > 0)
            return Match{block, 0};
    }
    return std::nullopt;
}

std::optional<LayoutFind::Match> LayoutFind::previous(Match match) const
{
    if (match.index > 0 && match.index - 1 < count(match.block))
        return Match{match.block, match.index - 1};
    const int blocks = int(m_counts.size());
    for (int step = 1; step <= blocks; ++step) {
        const int block = ((match.block - step) % blocks + blocks) % blocks;
        if (const int found = count(block); found > 0)
            return Match{block, found - 1};
    }
    return std::nullopt;
}

} // namespace kestrune
