#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/document/blockmeasuretimer_p.h"
#include "markdown/layout/document/copiedtext.h"
#include "markdown/layout/nodes/layoutbuildcontext_p.h"
#include "markdown/layout/nodes/layoutbuilder_p.h"
#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/markdownenvironment.h"

#include <QHash>
#include <QObject>

#include <functional>

#include <memory>
#include <optional>
#include <vector>

namespace kestrune {

class LayoutImageStore;
class LayoutTextNode;

// The laid-out page of one document. Top-level blocks are built and measured lazily, in order,
// as far down as someone needs (layoutUntil), so the first screen of a long document shows
// before the rest is measured. Blocks can be appended while the text is still being parsed.
//
// Only the blocks near what is shown keep their nodes (see setResidentRange): the others are
// parked, their nodes freed and their measured height kept, and built again, with the same
// document indices, when something asks for them. A 10 MB document thus holds nodes for a few
// screens rather than for all of its text. Blocks holding pictures, and code scrolled sideways,
// stay built: what they hold (an image on its way, a scroll offset) would be lost.
class LayoutDocument : public QObject
{
    Q_OBJECT

public:
    struct TextPosition
    {
        int node = 0; // document index of a text node
        int offset = 0;
        friend bool operator==(const TextPosition &, const TextPosition &) = default;
    };

    explicit LayoutDocument(QObject *parent = nullptr);
    ~LayoutDocument() override;

    // Drop every node: the next layout builds them anew.
    void setEnvironment(const MarkdownEnvironment &environment);
    const MarkdownEnvironment &environment() const { return m_environment; }
    // Returns whether the page had to be built anew (it holds images made for one scheme).
    bool setAppearance(Appearance appearance);
    Appearance appearance() const { return m_context.appearance; }
    // Text lays out alike at any ratio, pictures do not (they are sized by their pixels): the
    // nodes and places are kept unless a built block shows a picture. Returns whether they were.
    bool setDevicePixelRatio(qreal ratio);
    // While held, the images the page asks for are noted, not loaded (see LayoutImageStore).
    void holdImageRequests();
    void releaseImageRequests();
    // Moves the page, its image store included, to the thread that shows it. Called on the
    // thread the page lives in.
    void handOverTo(QThread *thread);

    void setBlocks(const QList<BlockNode> &blocks);
    void appendBlocks(const QList<BlockNode> &blocks);
    int blockCount() const { return int(m_entries.size()); }
    const BlockNode &block(int index) const { return *m_entries.at(size_t(index)).block; }

    // A new width outdates the measurements (not the nodes): the blocks keep the places and
    // heights they had until measured again, so the page stays whole while it is re-measured.
    void setWidth(qreal width);
    qreal width() const { return m_width; }

    // Builds and measures blocks in order until the measured part reaches `bottom`, measuring
    // again on the way the blocks measured at an older width, or for at most `budgetMs`
    // milliseconds when that is not negative (placing the blocks below those measured again
    // included; at least one block is measured). Returns whether every block is measured at the
    // page's width.
    bool layoutUntil(qreal bottom, qint64 budgetMs = -1);
    bool layoutAll() { return layoutUntil(LayoutNode::unbounded); }
    // Measures at the page's width the blocks from the one at `top` down to `bottom`, measuring
    // further when the measured part ends above `bottom`. The blocks above `top` keep their
    // places, so the block at `top` does not move: a view re-measures only what it shows.
    void layoutAround(qreal top, qreal bottom);
    // The longest a block from the one at `top` down to `bottom` that is measured at an older
    // width took to measure last, in milliseconds (without bounds: the whole page's).
    double remeasureCost(qreal top = -LayoutNode::unbounded, qreal bottom = LayoutNode::unbounded) const;
    // Whether some measured block was measured at an older width.
    bool hasOutdatedBlocks() const { return firstOutdated() < m_laidOut; }
    bool isComplete() const { return m_laidOut == int(m_entries.size()) && !hasOutdatedBlocks(); }
    int laidOutBlockCount() const { return m_laidOut; }
    qreal laidOutHeight() const;
    // The height of the whole page: measured where it is, estimated for the rest.
    qreal estimatedHeight() const;

    // The top-level block at a height, and its top (both within the measured part).
    int blockAt(qreal y) const;
    qreal blockTop(int index) const;
    // The laid-out node of a measured top-level block, placed in document coordinates (built
    // again if it was parked).
    const LayoutNode *blockNode(int index) const { return nodeOf(index); }
    // Blocks measured outside [top, bottom] (document coordinates) are parked from now on, those
    // already measured there included; the range is unbounded until set.
    void setResidentRange(qreal top, qreal bottom);
    // How many measured blocks are parked.
    int parkedBlockCount() const;
    // Whether a picture the page asked for is still on its way (its arrival invalidates the
    // layout).
    bool isLoadingImages() const;
    // Measures up to and including block `index` (without measuring again the blocks measured
    // at an older width).
    void layoutThrough(int index);

    // Paints what intersects context.clip (document coordinates).
    void paint(LayoutPaintContext &context) const;
    LayoutHit hitTest(QPointF point) const;

    // The text position nearest to a point; none without text.
    std::optional<TextPosition> positionAt(QPointF point) const;
    // The selected text as a reader reads it: list markers, table cells separated by tabs.
    QString text(const LayoutSelection &selection) const;
    // The same, and as Markdown.
    CopiedText copiedText(const LayoutSelection &selection) const;
    // The whole text as text(allText()) gives it, and where each text node's text starts in it
    // (indexed by document index): the one place offsets into the copied text are mapped from.
    struct PlainTextMap
    {
        QString text;
        std::vector<int> nodeStarts;
    };
    PlainTextMap plainTextMap() const;
    // The code block under a point (document coordinates) and its frame in the page; its text
    // for the clipboard (fenced in the Markdown).
    struct CodeBlockArea
    {
        int block = -1;
        QRectF frame;
    };
    std::optional<CodeBlockArea> codeBlockAt(QPointF point) const;
    CopiedText codeBlockText(int block) const;
    // The code block a selectable text is the code of, as codeBlockAt names it.
    std::optional<int> codeBlockOfText(int text) const;
    LayoutSelection wordSelection(TextPosition position) const;
    LayoutSelection allText() const;
    // The pictures of the built part of the page, in document order.
    const std::vector<LayoutBuildContext::Picture> &pictures() const { return m_context.pictures; }
    // The selectable texts of the built part of the page, by document index. A text of a parked
    // block is built again when asked for.
    int textCount() const { return int(m_context.textNodes.size()); }
    const LayoutTextNode *textNode(int index) const;
    // Visits every selectable text in document order, building parked blocks again for the
    // visit only.
    void forEachText(const std::function<void(const LayoutTextNode &)> &visit) const;
    // The top-level block holding a selectable text (by document index), and the one holding a
    // node of the built part of the page (-1 for a node of no block of the page).
    int blockOfText(int text) const;
    int blockOfNode(const LayoutNode *node) const;
    // The blocks of the page in the lists they were given in, for a find to count off the
    // window's thread (a copy costs a reference count a list).
    const std::vector<QList<BlockNode>> &blockLists() const { return m_blockLists; }
    // A match of a find in one text.
    struct TextMatch
    {
        int node = 0; // document index of a text node
        int start = 0;
        int end = 0;
    };
    // The matches of a find in a block's texts, in order; the block must be laid out.
    QList<TextMatch> findMatches(int block, const SearchPattern &query) const;
    // Where a range of a text lies on the page, in document coordinates.
    QRectF textRect(int node, int start, int end) const;
    // The top of the heading with that identifier (the `occurrence`-th of several), measuring as
    // far as needed.
    std::optional<qreal> headingTop(const QString &identifier, int occurrence = 0);

    // The measured page as indented text, one node a line.
    QString dump() const;

Q_SIGNALS:
    // Something was measured anew (an image arrived); the page should be laid out again.
    void layoutInvalidated();
    // A picture the page asked for arrived or failed (after any layoutInvalidated it caused).
    void imageSettled();

private:
    class CopiedTexts;

    struct Entry
    {
        const BlockNode *block = nullptr; // in m_blockLists
        BlockMargin margin;
        qreal top = 0;
        int firstText = 0;      // index in textNodes of the first text of this block
        int firstContainer = 0; // index of its first container in the text structure
        qreal height = 0;       // measured at measuredWidth
        bool parkable = false;  // may give up its node (see the class comment)
        bool listed = false;    // in m_resident
        qreal measuredWidth = 0;
        float measureMs = 0; // the processor time measuring it took last
    };

    void build(Entry &entry);
    void buildNode(Entry &entry, int index);
    // The node of a built block, built again (and measured) if it was parked. Const for the
    // callers' sake: building a parked block again changes nothing they can observe.
    LayoutNode *nodeOf(int index) const;
    void unpark(int index);
    // Builds a parked block again, with its document indices, without measuring it.
    void restoreNode(int index);
    // Measures a placed block at the page's width; its successors' places are left to place().
    void remeasure(int index);
    void measure(Entry &entry, LayoutNode &node);
    // Sets the tops of entries [first, end) from their predecessors', and their nodes' places.
    void place(int first, int end);
    // Measures again from block `first` on the blocks measured at an older width and extends
    // the measured part, until `bottom` or the budget (see layoutUntil).
    bool measureFrom(int first, qreal bottom, qint64 budgetMs);
    // Builds (or builds again), measures and places the block after the measured part.
    void appendMeasured();
    bool isOutdated(const Entry &entry) const { return entry.measuredWidth != m_width; }
    // The first measured block measured at an older width (m_laidOut when none).
    int firstOutdated() const;
    // Returns whether the block gave up its node.
    bool park(int index);
    bool isParked(int index) const { return index < m_built && !m_nodes[size_t(index)]; }
    bool isResident(const Entry &entry) const;
    void listResident(int index);
    // The ends of a block's texts and containers.
    int textEnd(int block) const;
    int containerEnd(int block) const;
    // Parks the blocks again that were built again to be read, unless they are resident now.
    void parkAgain(const std::vector<int> &blocks) const;
    // The selectable texts a parked block holds once built, made from its block alone; none
    // when they cannot be (see LayoutBuilder::selectableTexts).
    std::optional<std::vector<StyledText>> parkedTexts(int block) const;
    void dropNodes();
    void invalidateEntryOf(LayoutNode *node);
    void onImageSettled(const QUrl &url, ImageProvider *provider);
    int laidOutTextCount() const;
    const BlockNode *topLevelBlock(int index) const;

    MarkdownEnvironment m_environment;
    LayoutBuildContext m_context;
    std::unique_ptr<LayoutImageStore> m_images;
    LayoutBuilder::State m_documentState;
    // The blocks as given, kept once: the entries point into these lists, which are never
    // changed (a list's elements stay where they are while it lives).
    std::vector<QList<BlockNode>> m_blockLists;
    std::vector<Entry> m_entries;
    // The node of each entry, null until built and while parked. Kept apart from the entries so
    // that dropping a page hands them all to the disposal at once, without a walk.
    std::vector<std::unique_ptr<LayoutNode>> m_nodes;
    QHash<const LayoutNode *, int> m_entryOfRoot;
    // Parkable blocks that have nodes now, some perhaps parked since (their node is gone).
    std::vector<int> m_resident;
    qreal m_residentTop = -LayoutNode::unbounded;
    qreal m_residentBottom = LayoutNode::unbounded;
    int m_built = 0;                 // entries [0, m_built) were built (and have nodes unless parked)
    int m_laidOut = 0;               // entries [0, m_laidOut) are measured and placed, some at older widths
    mutable int m_firstOutdated = 0; // no entry before it is measured at an older width
    qreal m_width = 800;
    BlockMeasureTimer m_measureTimer; // what measuring each block takes
    // What placing the blocks after those measured again took last in a budgeted layout, in
    // milliseconds: the next one keeps that much of its budget for it.
    double m_tailPlacementMs = 0;
};

} // namespace kestrune
