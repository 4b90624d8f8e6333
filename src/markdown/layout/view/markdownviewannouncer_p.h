#pragma once

#include <memory>

namespace kestrune {

class AccessibleTextMap;
class MarkdownView;
class MarkdownViewAccessibleChildren;

// Tells assistive technology what changes in a MarkdownView: its text, replaced or grown as
// the page is built; the selection; and the caret. It keeps the text map assistive technology
// reads (see MarkdownViewAccessible), made when first asked after the text changed, counts the
// maps made so that what was read from an older one can tell, and the children of the document
// that outlive the maps (MarkdownViewAccessibleChildren).
//
// Nothing is sent while no assistive technology listens; the next announcement after someone
// starts listening tells the whole text.
class MarkdownViewAnnouncer
{
public:
    explicit MarkdownViewAnnouncer(MarkdownView &view);
    ~MarkdownViewAnnouncer();

    const AccessibleTextMap &textMap() const;
    int generation() const { return m_generation; }
    // The document's children, for the text map in force.
    MarkdownViewAccessibleChildren &children() const;
    // Forgets the text map: a text that shows a picture now reads differently.
    void dropTextMap();
    // The view shows another text, or built its page anew: the next announcement tells all of it.
    void textReplaced();

    // The caret as an offset into the text map's text, and placed at one.
    int caretOffset() const;
    void setCaretOffset(int offset);

    // Tells of a text that was replaced or grew.
    void announceTextChanges();
    void announceSelection();
    void announceCaret();

private:
    MarkdownView &m_view;
    mutable std::unique_ptr<AccessibleTextMap> m_textMap; // made when first asked
    std::unique_ptr<MarkdownViewAccessibleChildren> m_children;
    mutable int m_generation = 0;
    int m_announcedTextNodes = 0; // how many texts assistive technology was told of
    int m_announcedLength = 0;
    bool m_textReplaced = true;
};

} // namespace kestrune
