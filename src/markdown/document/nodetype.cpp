#include "markdown/document/nodetype_p.h"

#include <array>
#include <utility>

namespace kestrune {

namespace {

constexpr std::array<std::pair<NodeType, std::string_view>, 31> rawValues{{
    {NodeType::document, "document"},
    {NodeType::blockquote, "block_quote"},
    {NodeType::list, "list"},
    {NodeType::item, "item"},
    {NodeType::codeBlock, "code_block"},
    {NodeType::htmlBlock, "html_block"},
    {NodeType::customBlock, "custom_block"},
    {NodeType::paragraph, "paragraph"},
    {NodeType::heading, "heading"},
    {NodeType::thematicBreak, "thematic_break"},
    {NodeType::text, "text"},
    {NodeType::softBreak, "softbreak"},
    {NodeType::lineBreak, "linebreak"},
    {NodeType::code, "code"},
    {NodeType::html, "html_inline"},
    {NodeType::customInline, "custom_inline"},
    {NodeType::emphasis, "emph"},
    {NodeType::strong, "strong"},
    {NodeType::link, "link"},
    {NodeType::image, "image"},
    {NodeType::inlineAttributes, "attribute"},
    {NodeType::none, "NONE"},
    {NodeType::unknown, "<unknown>"},
    {NodeType::strikethrough, "strikethrough"},
    {NodeType::table, "table"},
    {NodeType::tableHead, "table_header"},
    {NodeType::tableRow, "table_row"},
    {NodeType::tableCell, "table_cell"},
    {NodeType::taskListItem, "tasklist"},
    // The parser gives footnotes no type string of their own.
    {NodeType::footnoteDefinition, "<unknown>"},
    {NodeType::footnoteReference, "<unknown>"},
}};

// The table is indexed by the enumeration; keep the two in step.
constexpr bool tableFollowsEnumeration()
{
    for (std::size_t i = 0; i < rawValues.size(); ++i) {
        if (static_cast<std::size_t>(rawValues[i].first) != i)
            return false;
    }
    return true;
}
static_assert(tableFollowsEnumeration());

} // namespace

std::string_view nodeTypeRawValue(NodeType type)
{
    return rawValues[static_cast<std::size_t>(type)].second;
}

std::optional<NodeType> nodeTypeFromRawValue(std::string_view rawValue)
{
    for (const auto &[type, value] : rawValues) {
        if (value == rawValue)
            return type;
    }
    return std::nullopt;
}

} // namespace kestrune
