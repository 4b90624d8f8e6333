#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/document/findstatus.h"
#include "markdown/layout/document/layoutfind_p.h"
#include "markdown/layout/nodes/layoutnode_p.h"
#include "text/searchpattern.h"

#include <QList>
#include <QStringView>

#include <optional>
#include <utility>

namespace kestrune {

class LayoutDocument;
class MarkdownView;

// The find of a MarkdownView: the matches counted in the background (LayoutFind), the current
// one, and the match the view goes to once it is counted or its block is laid out. A match
// the model counted but the page does not show (an image's alternative text) is passed over
// to the next one the page shows. The view paints the highlight this gives and scrolls to the
// matches this goes to; it tells this when its page is replaced or grows.
class MarkdownViewFind
{
public:
    enum class Direction
    {
        forward,
        backward,
    };

    explicit MarkdownViewFind(MarkdownView &view);
    ~MarkdownViewFind();

    // Highlights every match of the query and goes to the first one at or after the match
    // `index` of `block`, once it is counted. An empty query ends the find.
    void start(const SearchPattern &query, int block, int index);
    // Goes to the next (previous) match, round the end of the document.
    void step(Direction direction);
    void clear();
    const SearchPattern &query() const { return m_counts.query(); }
    FindStatus status() const;

    // Counts the page that replaced the last one anew, when a find is on.
    void restart();
    // Counts blocks appended to the page.
    void addBlocks(const QList<BlockNode> &blocks);
    // Goes to the match that waited for its block to be laid out, once it is.
    void continuePending();
    // What painting highlights; none without a find.
    std::optional<LayoutFindHighlight> highlight(Appearance appearance) const;

    // Where the top-level block that a line of the source belongs to lies in the page, and how
    // many matches it shows before that place (see MarkdownView::findFrom).
    static std::pair<int, int> sourcePlace(const LayoutDocument &document, const SearchPattern &query,
                                           QStringView source, int line, int column);

private:
    void onProgress();
    // Goes to a match, laying the page out that far first (in the background when it is not
    // yet); a block that holds fewer matches once laid out passes on to the next (previous)
    // match.
    void goToMatch(LayoutFind::Match match, Direction direction);
    // The match after (before) one, round the end of the document.
    std::optional<LayoutFind::Match> neighbour(LayoutFind::Match match, Direction direction) const;
    bool isCounted() const;

    MarkdownView &m_view;
    LayoutFind m_counts;
    std::optional<LayoutFind::Match> m_current;
    // Waiting for the first match at or after this block (and this match in it) to be counted,
    // to go to it.
    int m_firstFrom = -1;
    int m_firstIndex = 0;
    // Waiting for this match's block to be laid out, to go to it.
    std::optional<LayoutFind::Match> m_pending;
    Direction m_pendingDirection = Direction::forward;
};

} // namespace kestrune
