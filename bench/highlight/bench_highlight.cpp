// Times the code highlighter on a 1 MB TypeScript block and on a document of 2,000 small blocks,
// beside highlight.js itself in Qt's JavaScript engine (whose time grows faster than the size:
// it is measured on 16, 64 and 160 KiB) and GNU source-highlight when it was found. Reports the
// median of several runs as MB/s.
//
//     bench_highlight [RUNS]        (default 5)

#include "benchtiming.h"
#include "highlight/codehighlighter.h"

#include <QCoreApplication>
#include <QFile>
#include <QJSEngine>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#ifdef KESTRUNE_HAVE_SOURCE_HIGHLIGHT
#include <srchilite/sourcehighlight.h>

#include <sstream>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace kestrune;

namespace {

const QString typeScriptUnit = QStringLiteral(R"~(/**
 * A store of changes, loaded on demand. @param T the record type
 */
export class ChangeStore<T extends { id: string }> implements Iterable<T> {
  private readonly items = new Map<string, T>();
  constructor(private readonly base: string, private retries = 3) {}

  async load(id: string): Promise<T | undefined> {
    // one request per id, cached afterwards
    if (this.items.has(id)) return this.items.get(id);
    const url = `${this.base}/changes/${encodeURIComponent(id)}?v=${Date.now() % 1000}`;
    for (let attempt = 0; attempt < this.retries; attempt++) {
      const response = await fetch(url, { headers: { Accept: "application/json" } });
      if (response.ok) {
        const item = (await response.json()) as T;
        this.items.set(item.id, item);
        return item;
      }
    }
    return undefined;
  }

  *[Symbol.iterator](): Iterator<T> { yield* this.items.values(); }
}

export const isDraft = (name: string): boolean => /^draft-[a-z0-9-]+$/i.test(name) && name.length > 0x10;
)~");

QString typeScriptBlock(qsizetype size)
{
    QString code;
    while (code.size() + typeScriptUnit.size() <= size)
        code += typeScriptUnit;
    return code;
}

struct Block
{
    QString language;
    QString code;
};

// The blocks of a long document: a few lines each, in the languages specifications show.
std::vector<Block> smallBlocks(int count)
{
    const std::vector<Block> kinds{
        {QStringLiteral("typescript"), QStringLiteral("const total = items.reduce((n, i) => n + i.size, 0);\n"
                                                      "export type Item = { id: string; size: number };\n")},
        {QStringLiteral("bash"),
         QStringLiteral("for f in \"$dir\"/*.md; do\n  echo \"$(wc -l < \"$f\") $f\"\ndone\n")},
        {QStringLiteral("json"),
         QStringLiteral("{ \"name\": \"change\", \"tasks\": [1, 2, 3], \"done\": false }\n")},
        {QStringLiteral("python"),
         QStringLiteral("def open_tasks(tasks):\n    return [t for t in tasks if not t.done]  # todo\n")},
        {QStringLiteral("yaml"),
         QStringLiteral("name: build\non: [push]\njobs:\n  test:\n    runs-on: ubuntu-22.04\n")},
    };
    std::vector<Block> blocks;
    for (int i = 0; i < count; ++i)
        blocks.push_back(kinds[std::size_t(i) % kinds.size()]);
    return blocks;
}

qsizetype totalSize(const std::vector<Block> &blocks)
{
    qsizetype size = 0;
    for (const Block &block : blocks)
        size += block.code.size();
    return size;
}

double megabytesPerSecond(qsizetype characters, double ms)
{
    return ms > 0 ? double(characters) / 1e6 / (ms / 1e3) : 0;
}

void report(const char *engine, const char *input, qsizetype characters, double ms)
{
    std::printf("%-22s %-26s %10lld %12.2f %10.2f\n", engine, input, static_cast<long long>(characters), ms,
                megabytesPerSecond(characters, ms));
}

class HighlightJs
{
public:
    HighlightJs()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler*=false"));
        QFile script(QStringLiteral(KESTRUNE_HIGHLIGHT_JS));
        if (!script.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", KESTRUNE_HIGHLIGHT_JS);
            std::exit(1);
        }
        m_engine.evaluate(QStringLiteral("var exports = {};\n") + QString::fromUtf8(script.readAll()));
        m_engine.evaluate(
            QStringLiteral("hljs.configure({hideUpgradeWarningAcceptNoSupportOrSecurityUpdates: true});"));
        m_highlight = m_engine.evaluate(
            QStringLiteral("(function(l, c) { return hljs.highlight(l, c, true).value.length; })"));
    }

    int highlight(const QString &language, const QString &code)
    {
        return m_highlight.call({language, code}).toInt();
    }

private:
    QJSEngine m_engine;
    QJSValue m_highlight;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // the JavaScript engine wants one
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::chrono::hours noBudget(1);
    std::printf("%-22s %-26s %10s %12s %10s\n", "engine", "input", "chars", "median (ms)", "MB/s");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    // Code beyond maxCodeLength stays plain in the program; the benchmark measures the matcher
    // on a 1 MB block through four blocks of the largest size.
    const QString megabyte = typeScriptBlock(1 << 20);
    const qsizetype part = CodeHighlighter::maxCodeLength;
    long long tokens = 0;
    CodeHighlighter::highlight(u"x", QStringLiteral("typescript"), noBudget);
    const double ourLarge = medianMs(runs, [&] {
        for (qsizetype at = 0; at < megabyte.size(); at += part)
            tokens += CodeHighlighter::highlight(QStringView(megabyte).mid(at, part),
                                                 QStringLiteral("typescript"), noBudget)
                          .value_or(QList<CodeToken>())
                          .size();
    });
    report("kestrune", "TypeScript 1 MB", megabyte.size(), ourLarge);

    const std::vector<Block> blocks = smallBlocks(2000);
    const double ourSmall = medianMs(runs, [&] {
        for (const Block &block : blocks)
            tokens += CodeHighlighter::highlight(block.code, block.language, noBudget)
                          .value_or(QList<CodeToken>())
                          .size();
    });
    report("kestrune", "2,000 small blocks", totalSize(blocks), ourSmall);

    HighlightJs highlightJs;
    highlightJs.highlight(QStringLiteral("typescript"), QStringLiteral("x"));
    for (const qsizetype kib : {16, 64, 160}) {
        const QString code = typeScriptBlock(kib * 1024);
        const double ms = medianMs(kib > 64 ? 1 : runs, [&] {
            tokens += highlightJs.highlight(QStringLiteral("typescript"), code);
        });
        report("highlight.js (QJSEngine)", qPrintable(QStringLiteral("TypeScript %1 KiB").arg(kib)),
               code.size(), ms);
    }
    const double jsSmall = medianMs(runs, [&] {
        for (const Block &block : blocks)
            tokens += highlightJs.highlight(block.language, block.code);
    });
    report("highlight.js (QJSEngine)", "2,000 small blocks", totalSize(blocks), jsSmall);

#ifdef KESTRUNE_HAVE_SOURCE_HIGHLIGHT
    // It has no TypeScript grammar: its JavaScript one reads the same text.
    srchilite::SourceHighlight sourceHighlight("html.outlang");
    const std::string utf8 = megabyte.toStdString();
    const double gnu = medianMs(runs, [&] {
        std::istringstream in(utf8);
        std::ostringstream out;
        sourceHighlight.highlight(in, out, "javascript.lang");
        tokens += qsizetype(out.str().size());
    });
    report("GNU source-highlight", "TypeScript 1 MB (as JS)", megabyte.size(), gnu);
#endif
    return tokens > 0 ? 0 : 1;
}
