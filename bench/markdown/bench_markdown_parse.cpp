// Times MarkdownParser (parse plus conversion into the model) on 1 MB and 10 MB
// specification-like documents beside cmark-gfm parsing the same text with the
// same extensions (parse and free). Reports the median of several runs.
//
//     bench_markdown_parse [RUNS]        (default 7)

#include "markdown/markdownparser.h"

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

namespace {

// One requirement section of a made-up specification, varied by `n`.
QByteArray section(int n)
{
    const QByteArray id = QByteArray::number(n);
    return "## Capability " + id + "\n\n"
           "The service keeps *records* of every **session** and exposes them through "
           "the [reporting API](https://example.com/api/" + id + ") and `GET /sessions/" + id + "`.\n"
           "Old entries are ~~kept~~ removed after 30 days; see www.example.com/retention.\n\n"
           "### Requirement: Session record " + id + "\n\n"
           "The system SHALL store the start time, the user and the client version.\n\n"
           "#### Scenario: New session\n\n"
           "- **WHEN** a user signs in\n"
           "- **THEN** a record is created\n"
           "  - with the start time\n"
           "  - with the client version\n\n"
           "1. Open the session list\n2. Pick a session\n3. Read the record\n\n"
           "- [x] schema written\n- [ ] migration tested\n\n"
           "| Field | Type | Required |\n|:------|:----:|---------:|\n"
           "| start | date | yes |\n| user | text | yes |\n| client | text | no |\n\n"
           "```swift\nlet record = Session(id: " + id + ")\nstore.save(record)\n```\n\n"
           "> Note: records are read-only once written.\n\n";
}

QByteArray document(qsizetype bytes)
{
    QByteArray text = "# Session service specification\n\n";
    for (int n = 1; text.size() < bytes; ++n)
        text += section(n);
    return text;
}

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

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::printf("%-8s %12s %16s %10s %16s %10s\n", "size", "cmark (ms)", "model utf8 (ms)", "ratio",
                "model QString (ms)", "ratio");
    for (const qsizetype size : {qsizetype(1) << 20, qsizetype(10) << 20}) {
        const QByteArray utf8 = document(size);
        const QString text = QString::fromUtf8(utf8);
        std::size_t blocks = 0;

        cmarkParse(utf8); // warm up both paths
        blocks += std::size_t(MarkdownParser::parseUtf8(utf8).size());

        const double cmark = medianMs(runs, [&] { cmarkParse(utf8); });
        const double model = medianMs(runs, [&] { blocks += std::size_t(MarkdownParser::parseUtf8(utf8).size()); });
        const double modelFromString = medianMs(runs, [&] { blocks += std::size_t(MarkdownParser::parse(text).size()); });
        std::printf("%-8s %12.1f %16.1f %10.2f %16.1f %10.2f\n",
                    size < (qsizetype(2) << 20) ? "1 MB" : "10 MB", cmark, model, model / cmark,
                    modelFromString, modelFromString / cmark);
        if (blocks == 0)
            return 1;
    }
    return 0;
}
