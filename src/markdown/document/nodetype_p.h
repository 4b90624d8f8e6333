#pragma once

#include <optional>
#include <string_view>

namespace kestrune {

// The parser's node kinds, named after their type strings. A node whose type
// string is not listed here is outside the document model.
enum class NodeType
{
    document,
    blockquote,
    list,
    item,
    codeBlock,
    htmlBlock,
    customBlock,
    paragraph,
    heading,
    thematicBreak,
    text,
    softBreak,
    lineBreak,
    code,
    html,
    customInline,
    emphasis,
    strong,
    link,
    image,
    inlineAttributes,
    none,
    unknown,
    strikethrough,
    table,
    tableHead,
    tableRow,
    tableCell,
    taskListItem,
    // The parser names these two "<unknown>"; they are told apart by their enumeration value
    // and never found by their type string.
    footnoteDefinition,
    footnoteReference,
};

// The type string of `type`, e.g. "block_quote" for NodeType::blockquote.
std::string_view nodeTypeRawValue(NodeType type);

// The node kind whose type string is exactly `rawValue`, if there is one.
std::optional<NodeType> nodeTypeFromRawValue(std::string_view rawValue);

} // namespace kestrune
