#pragma once

#include "markdown/layout/document/copiedtext.h"
#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/nodes/textstructure_p.h"

#include <QString>

#include <functional>
#include <vector>

namespace kestrune {

struct LayoutTextContent;

// Writes the selected texts of a page as plain text and as Markdown, walking the blocks, list
// items and table cells they sit in (TextStructure):
// - plain text keeps list markers ("•", "2.", "[x]") with the indentation of nested items,
//   separates table cells with tabs and rows and blocks with line feeds;
// - Markdown writes each whole text from the document's own inlines (emphasis, links, code)
//   and gives blocks their syntax: headings, fenced code, quotes, list markers with their
//   indentation, pipe tables with their alignment row.
// A selection within one text is copied as it is, without the syntax around it; markers and
// heading marks are written for the containers whose start is selected.
class CopiedTextWriter
{
public:
    enum class Formats
    {
        plainText,
        plainTextAndMarkdown,
    };

    // The content of the selectable text with that document index. The writer asks for the
    // texts in document order and holds no reference past the next question, so that a page can
    // make the texts of a block it does not hold only while they are read.
    using TextContents = std::function<const LayoutTextContent &(int text)>;

    CopiedTextWriter(const TextStructure &structure, int textCount, TextContents texts,
                     TextStructure::TopLevelBlocks topLevel, Formats formats = Formats::plainTextAndMarkdown);

    CopiedText write(const LayoutSelection &selection);
    // Where the plain text of each selected text starts in the last write's plain text (a
    // text's own line feeds and characters follow unchanged, except line feeds in a table
    // cell, which become spaces).
    const std::vector<qsizetype> &plainTextStarts() const { return m_plainStarts; }
    // The text of a code block container, fenced in the Markdown.
    CopiedText codeBlock(int container);

private:
    struct Leaf
    {
        int text = 0;
        int from = 0;
        int to = 0;
        int container = -1;
    };
    struct Marker
    {
        QString plain;
        QString markdown;
        int plainWidth = 0;    // where the item's text starts, for the lines below its first
        int markdownWidth = 0; // (the same in Markdown)
    };

    void writeLeaf(const Leaf &leaf, bool first);
    // Ends the line of the previous text; false when the next one goes on the same line (the
    // next cell of a table row).
    bool writeSeparator(int previous, const std::vector<int> &chain, size_t common);
    // Opens the containers chain[from...] for a text, writing what starts them.
    void openLevels(const std::vector<int> &chain, size_t from, const Leaf &leaf, bool first, bool newLine);
    // What opening each kind of container writes before the text in it.
    void openListItem(int index, bool entered, bool first);
    void openTableCell(const TextStructure::Container &cell);
    void openBlock(int index, size_t depth, bool entered);
    void closeLevels(size_t keep);
    void writeText(const Leaf &leaf);
    void finishTableRow();

    // The Markdown every line below the first of the open levels [0, depth) starts with.
    QString continuation(size_t depth) const;
    // The plain text's indentation of the list items among the open levels [0, depth).
    QString plainIndentation(size_t depth) const;
    Marker marker(int item) const;
    QString markdownText(const Leaf &leaf, const QString &plain) const;
    bool isTightListItem(int container) const;
    int columnCount() const;
    const TextStructure::Container &container(int index) const { return m_structure.container(index); }

    // The leaf of the text with that document index within a selection.
    Leaf leafOf(int text, const LayoutSelection &selection) const;

    const TextStructure &m_structure;
    int m_textCount = 0;
    TextContents m_texts;
    TextStructure::TopLevelBlocks m_topLevel;
    bool m_writesMarkdown = true;

    QString m_plain;
    QString m_markdown;
    std::vector<qsizetype> m_plainStarts;
    std::vector<int> m_open; // the containers the last text was in, outermost first
    QString m_fence;         // of the open code block
    // The open table, its depth in m_open, the row being written, its next column, and whether
    // the alignment row is written.
    int m_table = -1;
    size_t m_tableDepth = 0;
    int m_row = -1;
    int m_nextColumn = 0;
    bool m_alignmentRowWritten = false;
};

} // namespace kestrune
