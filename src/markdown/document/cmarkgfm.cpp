#include "markdown/document/cmarkgfm_p.h"

#include <mutex>

namespace kestrune {

namespace Cmark {

void ensureExtensionsRegistered()
{
    static std::once_flag registered;
    std::call_once(registered, [] { cmark_gfm_core_extensions_ensure_registered(); });
}

cmark_syntax_extension *extension(const char *name)
{
    ensureExtensionsRegistered();
    return cmark_find_syntax_extension(name);
}

ParserPtr newParser()
{
    return ParserPtr(newParser(cmark_get_default_mem_allocator()));
}

cmark_parser *newParser(cmark_mem *memory)
{
    ensureExtensionsRegistered();
    cmark_parser *parser = cmark_parser_new_with_mem(CMARK_OPT_DEFAULT | CMARK_OPT_FOOTNOTES, memory);
    // Every platform this program runs on lays out tables, so "table" is always on.
    for (const char *name : {"autolink", "strikethrough", "tagfilter", "tasklist", "table"}) {
        if (cmark_syntax_extension *found = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser, found);
    }
    return parser;
}

} // namespace Cmark

} // namespace kestrune
