#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/document/accessibletextmap_p.h"

#include <QAccessible>

#include <optional>
#include <vector>

namespace kestrune {

class LayoutDocument;
class MarkdownView;
class MarkdownViewElementAccessible;

// The children of a MarkdownView's accessible document: an interface for each heading, link and
// picture of its text map, made when first asked for, that outlives the map. The view makes the
// map again whenever its page changes: another slice of a long text laid out, a new width,
// another theme, a picture that arrived. An element of a top-level block whose content did not
// change keeps its interface and id across that, so a reader holding it still holds it; only the
// elements of blocks that changed or went away get new interfaces, and the old ones go.
//
// After a theme change the page is built again from the top, so for a while the map holds only
// its first blocks: the interfaces of the blocks further down wait out of the tree until their
// block is built again, and go only if the page is complete without them.
class MarkdownViewAccessibleChildren
{
public:
    explicit MarkdownViewAccessibleChildren(MarkdownView &view);
    ~MarkdownViewAccessibleChildren();
    MarkdownViewAccessibleChildren(const MarkdownViewAccessibleChildren &) = delete;
    MarkdownViewAccessibleChildren &operator=(const MarkdownViewAccessibleChildren &) = delete;

    // For the text map in force (the view's announcer has it made).
    int count() const { return int(m_slots.size()); }
    QAccessibleInterface *child(int index) const;
    // The index of a child; -1 for an interface that is none (or none any more).
    int indexOf(const QAccessibleInterface *child) const;

    // Takes the text map made anew for the document: keeps the interfaces of the elements whose
    // block is unchanged. `pageComplete`: the whole text is built, nothing is still to come.
    void follow(const AccessibleTextMap &map, const LayoutDocument &document, bool pageComplete);
    // Tells assistive technology of the children made and gone since it was last told (while
    // someone listens), and lets go of those gone.
    void announce();

private:
    struct Slot
    {
        QAccessible::Id id = 0;
        std::optional<BlockNode> block; // the block its element lies in, once made
        int blockIndex = -1;
        int ordinal = 0;   // among the elements of its block
        bool told = false; // assistive technology was told it is there
    };
    // An interface of an older map, to be matched with an element of the new one.
    struct Held
    {
        QAccessible::Id id = 0;
        std::optional<BlockNode> block;
        int blockIndex = -1;
        int ordinal = 0;
        bool told = false;
    };
    struct Gone
    {
        QAccessible::Id id = 0;
        bool told = false;
    };

    static MarkdownViewElementAccessible *interfaceOf(QAccessible::Id id);
    // Matches the interfaces held with the elements of a new map, whose slots know their blocks.
    void keepUnchanged(std::vector<Held> &held, std::vector<Slot> &slots, const AccessibleTextMap &map,
                       const LayoutDocument &document);
    void letGoOfGone();

    MarkdownView &m_view;
    mutable std::vector<Slot> m_slots; // by element index
    std::vector<Held> m_waiting;       // of blocks not built again yet
    std::vector<Gone> m_gone;          // out of the tree, to be let go of
};

} // namespace kestrune
