#pragma once

#include "markdown/document/blocknode.h"
#include "text/searchpattern.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace kestrune {

// The matches of a find in a document, counted block by block: off the window's thread from
// the document model when the find starts, on it for blocks that arrive later, and from the
// laid-out page for blocks that are laid out (setLayoutCount). A match is known by its block
// and its rank within that block, so it outlives the page being built anew.
class LayoutFind : public QObject
{
    Q_OBJECT

public:
    struct Match
    {
        int block = -1;
        int index = 0; // among the matches of the block
        friend bool operator==(const Match &, const Match &) = default;
    };

    explicit LayoutFind(QObject *parent = nullptr);
    ~LayoutFind() override;

    // Counts the matches of `query` in the blocks of the whole document, given as the lists they
    // came in, in the background.
    void start(const SearchPattern &query, const std::vector<QList<BlockNode>> &blockLists);
    // Counts blocks appended to the document, here and now.
    void addBlocks(const QList<BlockNode> &blocks);
    void clear();

    const SearchPattern &query() const { return m_query; }
    bool isActive() const { return !m_query.isEmpty(); }
    // Whether every block is counted.
    bool isComplete() const { return m_countedThrough == int(m_counts.size()); }
    int total() const { return m_total; }
    // The blocks counted without a gap from the first.
    int countedThrough() const { return m_countedThrough; }
    // The count of a block; -1 while it is not counted.
    int count(int block) const;
    // The count of a block as the laid-out page finds it, which wins from now on.
    void setLayoutCount(int block, int count);
    bool hasLayoutCount(int block) const;

    // 1 for the first match of the document.
    int ordinal(Match match) const;
    // The first match at or after the match `index` of `block`, among those counted; none when
    // there is none (yet).
    std::optional<Match> firstFrom(int block, int index = 0) const;
    // The match after (before) one, going round the document's end; none without matches.
    std::optional<Match> next(Match match) const;
    std::optional<Match> previous(Match match) const;

Q_SIGNALS:
    // More blocks were counted.
    void progressed();

private:
    struct Slice
    {
        int first = 0;
        QList<int> counts;
    };

    void takeSlices(int begin, int end);
    void store(int first, const QList<int> &counts);

    SearchPattern m_query;
    std::vector<int> m_counts; // -1: not counted yet
    std::vector<bool> m_fromLayout;
    int m_total = 0;
    int m_countedThrough = 0;
    std::unique_ptr<QFutureWatcher<Slice>> m_watcher;
};

} // namespace kestrune
