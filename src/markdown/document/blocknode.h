#pragma once

#include "markdown/document/alertkind.h"
#include "markdown/document/inlinenode.h"
#include "markdown/document/rawtablecolumnalignment.h"

#include <QList>
#include <QString>

#include <optional>
#include <type_traits>
#include <variant>

namespace kestrune {

class BlockNode;

// The records held by list and table blocks. They live beside BlockNode because
// the three refer to one another.

struct RawListItem
{
    QList<BlockNode> children;
    friend bool operator==(const RawListItem &, const RawListItem &); // defined below the node class
};

struct RawTaskListItem
{
    bool isCompleted = false;
    QList<BlockNode> children;
    friend bool operator==(const RawTaskListItem &, const RawTaskListItem &); // defined below the node class
};

struct RawTableCell
{
    QList<InlineNode> content;
    friend bool operator==(const RawTableCell &, const RawTableCell &) = default;
};

struct RawTableRow
{
    QList<RawTableCell> cells;
    friend bool operator==(const RawTableRow &, const RawTableRow &) = default;
};

// The cases of BlockNode.
namespace Block {

// A quote; an alert when it opened with a marker line such as "[!NOTE]", which is then not
// among its children (they are the callout's body).
struct Blockquote
{
    QList<BlockNode> children;
    AlertKind alert = AlertKind::none;
    friend bool operator==(const Blockquote &, const Blockquote &); // defined below the node class
};

struct BulletedList
{
    bool isTight = false;
    QList<RawListItem> items;
    friend bool operator==(const BulletedList &, const BulletedList &) = default;
};

struct NumberedList
{
    bool isTight = false;
    int start = 1;
    QList<RawListItem> items;
    friend bool operator==(const NumberedList &, const NumberedList &) = default;
};

struct TaskList
{
    bool isTight = false;
    QList<RawTaskListItem> items;
    friend bool operator==(const TaskList &, const TaskList &) = default;
};

struct CodeBlock
{
    std::optional<QString> fenceInfo; // empty for an indented block or a bare fence
    QString content;                  // verbatim, final line feed included
    friend bool operator==(const CodeBlock &, const CodeBlock &) = default;
};

struct HtmlBlock
{
    QString content;
    friend bool operator==(const HtmlBlock &, const HtmlBlock &) = default;
};

struct Paragraph
{
    QList<InlineNode> content;
    friend bool operator==(const Paragraph &, const Paragraph &) = default;
};

struct Heading
{
    int level = 1; // 1 to 6
    QList<InlineNode> content;
    friend bool operator==(const Heading &, const Heading &) = default;
};

struct Table
{
    QList<RawTableColumnAlignment> columnAlignments;
    QList<RawTableRow> rows; // the header row first
    friend bool operator==(const Table &, const Table &) = default;
};

struct ThematicBreak
{
    friend bool operator==(const ThematicBreak &, const ThematicBreak &) = default;
};

// The text of a footnote. The parser keeps only the notes some reference points to, puts them
// at the end of the document in the order of their first reference and numbers them from 1 in
// that order; `label` is the name the text gave it ("[^label]: ...").
struct FootnoteDefinition
{
    QString label;
    int number = 0;
    QList<BlockNode> children;
    friend bool operator==(const FootnoteDefinition &,
                           const FootnoteDefinition &); // defined below the node class
};

} // namespace Block

// One block of a document: an immutable tagged union. Children are implicitly
// shared lists, so copies are cheap and subtrees can be handed around freely.
//
// Documents made by MarkdownParser nest at most MarkdownParser::maxBlockDepth
// container blocks and MarkdownParser::maxInlineDepth container inlines, so
// code that walks the model recursively is safe on any input text.
class BlockNode
{
public:
    // In the order of the payload alternatives.
    enum class Kind
    {
        blockquote,
        bulletedList,
        numberedList,
        taskList,
        codeBlock,
        htmlBlock,
        paragraph,
        heading,
        table,
        thematicBreak,
        footnoteDefinition,
    };

    using Payload = std::variant<Block::Blockquote, Block::BulletedList, Block::NumberedList, Block::TaskList,
                                 Block::CodeBlock, Block::HtmlBlock, Block::Paragraph, Block::Heading,
                                 Block::Table, Block::ThematicBreak, Block::FootnoteDefinition>;

    template <typename T>
    requires(!std::is_same_v<std::remove_cvref_t<T>, BlockNode> && std::is_constructible_v<Payload, T &&>)
        BlockNode(T &&payload) // NOLINT(google-explicit-constructor): a node is its payload
        : m_payload(std::forward<T>(payload))
    {}
    template <typename T>
    requires(std::is_constructible_v<Payload, T &&>) BlockNode(T &&payload, int sourceLine)
        : m_payload(std::forward<T>(payload)), m_sourceLine(sourceLine)
    {}

    Kind kind() const { return static_cast<Kind>(m_payload.index()); }
    const Payload &payload() const { return m_payload; }

    template <typename T> const T *as() const { return std::get_if<T>(&m_payload); }

    // The inline content of a paragraph or heading; nullptr for the other kinds.
    const QList<InlineNode> *inlines() const;

    // The line of the parsed text the block starts on, counted from 0 (lines end at LF, CR or
    // CR LF); -1 for a block the parser did not make. Where a block came from is not what it is:
    // blocks of equal content are equal wherever they start.
    int sourceLine() const { return m_sourceLine; }

    friend bool operator==(const BlockNode &left, const BlockNode &right)
    {
        return left.m_payload == right.m_payload;
    }

private:
    Payload m_payload;
    int m_sourceLine = -1;
};

inline bool operator==(const RawListItem &left, const RawListItem &right)
{
    return left.children == right.children;
}

inline bool operator==(const RawTaskListItem &left, const RawTaskListItem &right)
{
    return left.isCompleted == right.isCompleted && left.children == right.children;
}

namespace Block {

inline bool operator==(const Blockquote &left, const Blockquote &right)
{
    return left.children == right.children && left.alert == right.alert;
}

inline bool operator==(const FootnoteDefinition &left, const FootnoteDefinition &right)
{
    return left.label == right.label && left.number == right.number && left.children == right.children;
}

} // namespace Block

size_t qHash(const BlockNode &node, size_t seed = 0) noexcept;
size_t qHash(const RawListItem &item, size_t seed = 0) noexcept;
size_t qHash(const RawTaskListItem &item, size_t seed = 0) noexcept;
size_t qHash(const RawTableCell &cell, size_t seed = 0) noexcept;
size_t qHash(const RawTableRow &row, size_t seed = 0) noexcept;

} // namespace kestrune
