#include "markdown/cmarkgfm_p.h"

#include <mutex>

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
    ensureExtensionsRegistered();
    ParserPtr parser(cmark_parser_new(CMARK_OPT_DEFAULT));
    // Every platform this program runs on lays out tables, so "table" is always on.
    for (const char *name : {"autolink", "strikethrough", "tagfilter", "tasklist", "table"}) {
        if (cmark_syntax_extension *found = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser.get(), found);
    }
    return parser;
}

} // namespace Cmark
