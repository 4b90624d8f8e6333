#include "markdown/document/inlinenode.h"

#include <QHashFunctions>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

const QList<InlineNode> *InlineNode::children() const
{
    return std::visit(
        [](const auto &value) -> const QList<InlineNode> * {
            if constexpr (requires { value.children; })
                return &value.children;
            else
                return nullptr;
        },
        m_payload);
}

// std::visit throws only for a valueless variant, and nodes are never left valueless (their
// alternatives do not throw when moved).
// NOLINTNEXTLINE(bugprone-exception-escape)
size_t qHash(const InlineNode &node, size_t seed) noexcept
{
    seed = qHash(static_cast<int>(node.kind()), seed);
    return std::visit(
        [seed](const auto &value) -> size_t {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Inline::Text>)
                return qHash(value.text, seed);
            else if constexpr (std::is_same_v<T, Inline::Code>)
                return qHash(value.code, seed);
            else if constexpr (std::is_same_v<T, Inline::Html>)
                return qHash(value.html, seed);
            else if constexpr (std::is_same_v<T, Inline::Link>)
                return qHashMulti(seed, value.destination, value.children);
            else if constexpr (std::is_same_v<T, Inline::Image>)
                return qHashMulti(seed, value.source, value.children);
            else if constexpr (std::is_same_v<T, Inline::FootnoteReference>)
                return qHashMulti(seed, value.label, value.number);
            else if constexpr (requires { value.children; })
                return qHash(value.children, seed);
            else
                return seed;
        },
        node.payload());
}

} // namespace kestrune
