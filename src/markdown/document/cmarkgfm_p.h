#pragma once

// The one place that talks to cmark-gfm directly: ownership of parsers, trees and
// rendered buffers, the extension registry, and the extension node types.

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <memory>

// Node types registered by the extensions library. They are exported by it but
// declared only in headers it does not install.
extern "C" {
CMARK_GFM_EXTENSIONS_EXPORT extern cmark_node_type CMARK_NODE_TABLE;
CMARK_GFM_EXTENSIONS_EXPORT extern cmark_node_type CMARK_NODE_TABLE_ROW;
CMARK_GFM_EXTENSIONS_EXPORT extern cmark_node_type CMARK_NODE_TABLE_CELL;
CMARK_GFM_EXTENSIONS_EXPORT extern cmark_node_type CMARK_NODE_STRIKETHROUGH;
}

namespace kestrune {

namespace Cmark {

struct ParserDeleter
{
    void operator()(cmark_parser *parser) const { cmark_parser_free(parser); }
};
struct NodeDeleter
{
    void operator()(cmark_node *node) const { cmark_node_free(node); }
};
struct BufferDeleter
{
    void operator()(char *buffer) const { cmark_get_default_mem_allocator()->free(buffer); }
};

using ParserPtr = std::unique_ptr<cmark_parser, ParserDeleter>;
using NodePtr = std::unique_ptr<cmark_node, NodeDeleter>;
using BufferPtr = std::unique_ptr<char, BufferDeleter>;

// Registers the core extensions on first use; safe to call from any thread.
void ensureExtensionsRegistered();

// A registered extension by name, or nullptr.
cmark_syntax_extension *extension(const char *name);

// A parser with the default options and every extension the engine uses attached.
ParserPtr newParser();
// The same, allocating from `memory`; the caller frees it (or lets an arena go).
cmark_parser *newParser(cmark_mem *memory);

} // namespace Cmark

} // namespace kestrune
