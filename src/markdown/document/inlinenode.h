#pragma once

#include <QList>
#include <QString>

#include <type_traits>
#include <variant>

namespace kestrune {

class InlineNode;

// The cases of InlineNode. Each is a plain value; children are implicitly shared
// lists, so copying a node or a subtree costs a few reference counts.
namespace Inline {

struct Text
{
    QString text;
    friend bool operator==(const Text &, const Text &) = default;
};

struct Code
{
    QString code;
    friend bool operator==(const Code &, const Code &) = default;
};

struct Html
{
    QString html;
    friend bool operator==(const Html &, const Html &) = default;
};

struct Emphasis
{
    QList<InlineNode> children;
    friend bool operator==(const Emphasis &, const Emphasis &); // defined below the node class
};

struct Strong
{
    QList<InlineNode> children;
    friend bool operator==(const Strong &, const Strong &); // defined below the node class
};

struct Strikethrough
{
    QList<InlineNode> children;
    friend bool operator==(const Strikethrough &, const Strikethrough &); // defined below the node class
};

struct Link
{
    QString destination;
    QList<InlineNode> children;
    friend bool operator==(const Link &, const Link &); // defined below the node class
};

struct Image
{
    QString source;
    QList<InlineNode> children;                           // the alternative text
    friend bool operator==(const Image &, const Image &); // defined below the node class
};

struct SoftBreak
{
    friend bool operator==(const SoftBreak &, const SoftBreak &) = default;
};

struct LineBreak
{
    friend bool operator==(const LineBreak &, const LineBreak &) = default;
};

// A reference to a footnote, "[^label]": the note's label and its number (see
// Block::FootnoteDefinition). A reference to a label no note has stays text.
struct FootnoteReference
{
    QString label;
    int number = 0;
    friend bool operator==(const FootnoteReference &, const FootnoteReference &) = default;
};

} // namespace Inline

// One inline of a paragraph, heading or table cell: an immutable tagged union.
//
//     InlineNode node = Inline::Emphasis{{Inline::Text{u"word"_qs}}};
//     if (const auto *emphasis = node.as<Inline::Emphasis>()) ...
//     std::visit([](const auto &value) { ... }, node.payload());
class InlineNode
{
public:
    // In the order of the payload alternatives.
    enum class Kind
    {
        text,
        code,
        html,
        emphasis,
        strong,
        strikethrough,
        link,
        image,
        softBreak,
        lineBreak,
        footnoteReference,
    };

    using Payload = std::variant<Inline::Text, Inline::Code, Inline::Html, Inline::Emphasis, Inline::Strong,
                                 Inline::Strikethrough, Inline::Link, Inline::Image, Inline::SoftBreak,
                                 Inline::LineBreak, Inline::FootnoteReference>;

    template <typename T>
    requires(!std::is_same_v<std::remove_cvref_t<T>, InlineNode> && std::is_constructible_v<Payload, T &&>)
        InlineNode(T &&payload) // NOLINT(google-explicit-constructor): a node is its payload
        : m_payload(std::forward<T>(payload))
    {}

    Kind kind() const { return static_cast<Kind>(m_payload.index()); }
    const Payload &payload() const { return m_payload; }

    template <typename T> const T *as() const { return std::get_if<T>(&m_payload); }

    // The nested inlines of emphasis, strong, strike-through, link and image;
    // nullptr for the other kinds.
    const QList<InlineNode> *children() const;

    friend bool operator==(const InlineNode &, const InlineNode &) = default;

private:
    Payload m_payload;
};

namespace Inline {

inline bool operator==(const Emphasis &left, const Emphasis &right)
{
    return left.children == right.children;
}

inline bool operator==(const Strong &left, const Strong &right)
{
    return left.children == right.children;
}

inline bool operator==(const Strikethrough &left, const Strikethrough &right)
{
    return left.children == right.children;
}

inline bool operator==(const Link &left, const Link &right)
{
    return left.destination == right.destination && left.children == right.children;
}

inline bool operator==(const Image &left, const Image &right)
{
    return left.source == right.source && left.children == right.children;
}

} // namespace Inline

size_t qHash(const InlineNode &node, size_t seed = 0) noexcept;

} // namespace kestrune
