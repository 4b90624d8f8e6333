// Times MarkdownParser (parse plus conversion into the model) on 1 MB and 10 MB
// specification-like documents beside cmark-gfm parsing the same text with the
// same extensions (parse and free). Reports the median of several runs.
//
//     bench_markdown_parse [RUNS]        (default 11)

#include "benchtiming.h"
#include "markdown/document/markdownparser.h"
#include "markdown/document/processheap.h"
#include "specificationdocument.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace kestrune;

namespace {

void cmarkParse(const QByteArray &text)
{
    cmark_gfm_core_extensions_ensure_registered();
    cmark_parser *parser = cmark_parser_new(CMARK_OPT_DEFAULT);
    for (const char *name : {"autolink", "strikethrough", "tagfilter", "tasklist", "table"})
        cmark_parser_attach_syntax_extension(parser, cmark_find_syntax_extension(name));
    cmark_parser_feed(parser, text.constData(), std::size_t(text.size()));
    cmark_node *root = cmark_parser_finish(parser);
    cmark_node_free(root);
    cmark_parser_free(parser);
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::printf("%-8s %12s %16s %10s %16s %10s\n", "size", "cmark (ms)", "model utf8 (ms)", "ratio",
                "model QString (ms)", "ratio");
    for (const qsizetype size : {qsizetype(1) << 20, qsizetype(10) << 20}) {
        const QByteArray utf8 = specificationDocument(size);
        const QString text = QString::fromUtf8(utf8);
        std::size_t blocks = 0;

        cmarkParse(utf8); // warm up both paths
        blocks += std::size_t(MarkdownParser::parseUtf8(utf8).size());

        // cmark-gfm first, on a heap the model has not touched yet.
        const double cmark = medianMs(runs, [&] { cmarkParse(utf8); });
        const double model =
            medianMs(runs, [&] { blocks += std::size_t(MarkdownParser::parseUtf8(utf8).size()); });
        const double modelFromString =
            medianMs(runs, [&] { blocks += std::size_t(MarkdownParser::parse(text).size()); });
        std::printf("%-8s %12.1f %16.1f %10.2f %16.1f %10.2f\n",
                    size < (qsizetype(2) << 20) ? "1 MB" : "10 MB", cmark, model, model / cmark,
                    modelFromString, modelFromString / cmark);
        if (blocks == 0)
            return 1;
    }
    return 0;
}
