#pragma once

#include "text/searchpattern.h"
#include "ui/appearance.h"

#include <QColor>
#include <QPalette>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QUrl>

#include <functional>
#include <limits>
#include <optional>

class QPainter;
class QTextStream;

namespace kestrune {

class LayoutScrollNode;
class LayoutTextNode;

// A selection between two text positions in document order, start before end.
struct LayoutSelection
{
    int startNode = -1; // document index of a text node
    int startOffset = 0;
    int endNode = -1;
    int endOffset = 0;

    bool isEmpty() const { return startNode < 0 || (startNode == endNode && startOffset == endOffset); }
};

// The matches of a find, painted behind the text: every match in one colour, the current one
// (a range of one text node) in a stronger one.
struct LayoutFindHighlight
{
    SearchPattern query;
    QColor match;
    QColor current;
    int currentNode = -1; // document index of a text node
    int currentStart = 0;
};

// What painting needs: the painter (translated to the node's top-left), the part that needs
// paint in the node's coordinates, and the appearance colours resolve against.
struct LayoutPaintContext
{
    QPainter *painter = nullptr;
    QPalette palette;
    Appearance appearance = Appearance::light;
    QRectF clip;
    const LayoutSelection *selection = nullptr;
    const LayoutFindHighlight *find = nullptr;
    // Asked before each node is painted: true leaves the rest unpainted (a print cancelled in
    // the middle of a long page).
    std::function<bool()> stopped;
};

// What lies under a point of the page.
struct LayoutHit
{
    LayoutTextNode *text = nullptr;
    QPointF textPoint; // in the text node's coordinates
    LayoutScrollNode *scroll = nullptr;
    bool onScrollIndicator = false;
    std::optional<QUrl> link;
};

// A node of the page: measured for a width and placed by one function (layout), then painted.
// Positions are relative to the parent node. Nodes own their children.
class LayoutNode
{
public:
    static constexpr qreal unbounded = std::numeric_limits<qreal>::infinity();
    // Indentation (of nested lists, of padding) gives way before the content inside it gets
    // narrower than this, so that however deep blocks nest, their text keeps a readable width.
    static constexpr qreal narrowestIndentedContent = 160;

    LayoutNode() = default;
    LayoutNode(const LayoutNode &) = delete;
    LayoutNode &operator=(const LayoutNode &) = delete;
    virtual ~LayoutNode();

    // Measures for `width` (unbounded: the ideal width) and places the children. The result is
    // kept until the width changes or the node is invalidated.
    QSizeF layout(qreal width);
    // The width the node takes when unbounded, kept apart from the current layout so that a
    // parent may ask for it before laying the node out at its own width. Parents that measure
    // before they place ask this, not layout(unbounded): nested containers would otherwise
    // alternate their children between two widths and lay out every level twice per level.
    qreal idealWidth();
    // The narrowest width at which no word has to break inside: a table gives no column less.
    // By default the widest of the children's.
    virtual qreal minimumWidth();
    // Marks this node and its ancestors for a new layout.
    void invalidate();

    QPointF position() const { return m_position; }
    void setPosition(QPointF position) { m_position = position; }
    QSizeF size() const { return m_size; }
    QRectF frame() const { return {m_position, m_size}; }
    LayoutNode *parent() const { return m_parent; }

    // The first text baseline, from the node's top; negative when there is no text.
    virtual qreal firstBaseline() const { return -1; }
    // Shapes and dividers fill the height of the horizontal stack they are in.
    virtual bool stretchesVertically() const { return false; }
    virtual void stretchTo(qreal) {}

    virtual void paint(LayoutPaintContext &context) const = 0;
    // Fills `hit` with what lies at `point` (node coordinates), innermost last.
    virtual void hitTest(QPointF point, LayoutHit &hit);

    virtual int childCount() const { return 0; }
    virtual LayoutNode *child(int) const { return nullptr; }
    // Where the children's coordinates start inside this node (a scroll node moves them).
    virtual QPointF contentOffset() const { return {}; }

    QPointF mapToDocument(QPointF point) const;

    // The subtree as indented text: kind, frame and what each kind adds.
    void dump(QTextStream &stream, int depth = 0) const;

protected:
    virtual QSizeF doLayout(qreal width) = 0;
    virtual const char *kindName() const = 0;
    virtual QString dumpDetails() const { return {}; }

    void adopt(LayoutNode *child) { child->m_parent = this; }
    void setSize(QSizeF size) { m_size = size; }
    void paintChild(LayoutPaintContext &context, const LayoutNode &child) const;
    void paintChildren(LayoutPaintContext &context) const;

private:
    LayoutNode *m_parent = nullptr;
    QPointF m_position;
    QSizeF m_size;
    qreal m_laidOutWidth = -1;
    qreal m_idealWidth = 0;
    bool m_valid = false;
    bool m_idealValid = false;
};

} // namespace kestrune
