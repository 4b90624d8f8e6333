#include "markdown/document/markdownparser.h"
#include "markdown/layout/text/codeblockhighlighter_p.h"
#include "markdown/layout/text/codehighlightcache_p.h"

#include "highlight/codehighlighter.h"

#include <QElapsedTimer>
#include <QTest>

using namespace kestrune;

namespace {

const CodeTokenPalette palette = [] {
    CodeTokenPalette result;
    for (int kind = 0; kind < codeTokenKindCount; ++kind)
        result.colors[size_t(kind)] = dynamicColor(1, 0, 0, 1, 0, 0, float(kind) / codeTokenKindCount, 1);
    return result;
}();

const QString typeScript = QStringLiteral("// a comment\nfunction answer(): number {\n    return 42;\n}\n");

bool hasTypeScriptGrammar()
{
    return CodeHighlighter::highlight(typeScript, CodeHighlighter::languageOf(u"ts").value_or(QString()))
        .has_value();
}

} // namespace

class TestCodeBlockHighlighter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { CodeHighlightCache::shared().clear(); }

    void cacheDropsTheLeastRecentlyUsedOverItsBudget();
    void cacheRemembersPlainBlocksAndRefusesOversizedOnes();
    void blocksWithoutAKnownLanguageStayPlain_data();
    void blocksWithoutAKnownLanguageStayPlain();
    void codeOverTheLimitStaysPlainAtOnce();
    void knownLanguageIsColouredOnceAndThenFromTheCache();
    void highlightingAheadFillsTheCacheForNestedBlocks();
};

void TestCodeBlockHighlighter::cacheDropsTheLeastRecentlyUsedOverItsBudget()
{
    const QString code(1000, QLatin1Char('x'));
    CodeHighlightCache cache(5000); // two blocks of 2,000 bytes and their overhead fit, three do not
    const QList<CodeToken> tokens{{0, 3, CodeTokenKind::keyword}};
    cache.insert(QStringLiteral("a"), code, tokens);
    cache.insert(QStringLiteral("b"), code, tokens);
    QVERIFY(cache.find(QStringLiteral("a"), code)); // now the most recent
    cache.insert(QStringLiteral("c"), code, tokens);
    QVERIFY(cache.find(QStringLiteral("a"), code));
    QVERIFY(!cache.find(QStringLiteral("b"), code));
    QCOMPARE(cache.find(QStringLiteral("c"), code), std::optional(std::optional(tokens)));
    QVERIFY(cache.byteSize() <= 5000);
    // The same key again replaces its entry instead of counting twice.
    const qsizetype size = cache.byteSize();
    cache.insert(QStringLiteral("c"), code, tokens);
    QCOMPARE(cache.byteSize(), size);
}

void TestCodeBlockHighlighter::cacheRemembersPlainBlocksAndRefusesOversizedOnes()
{
    CodeHighlightCache cache(1000);
    cache.insert(QStringLiteral("ts"), QStringLiteral("slow"), std::nullopt);
    const auto plain = cache.find(QStringLiteral("ts"), QStringLiteral("slow"));
    QVERIFY(plain);
    QVERIFY(!plain->has_value());
    QVERIFY(!cache.find(QStringLiteral("js"), QStringLiteral("slow"))); // the language is part of the key

    cache.insert(QStringLiteral("ts"), QString(2000, QLatin1Char('x')), QList<CodeToken>());
    QVERIFY(!cache.find(QStringLiteral("ts"), QString(2000, QLatin1Char('x'))));
    QVERIFY(cache.find(QStringLiteral("ts"), QStringLiteral("slow"))); // nothing was dropped for it
}

void TestCodeBlockHighlighter::blocksWithoutAKnownLanguageStayPlain_data()
{
    QTest::addColumn<std::optional<QString>>("fenceInfo");
    QTest::addRow("no info string") << std::optional<QString>();
    QTest::addRow("empty info string") << std::optional<QString>(QString());
    QTest::addRow("a language without a grammar")
        << std::optional<QString>(QStringLiteral("no-such-language"));
}

void TestCodeBlockHighlighter::blocksWithoutAKnownLanguageStayPlain()
{
    QFETCH(std::optional<QString>, fenceInfo);
    QVERIFY(CodeBlockHighlighter::ranges(typeScript, fenceInfo, palette).isEmpty());
    QCOMPARE(CodeHighlightCache::shared().byteSize(), 0);
}

void TestCodeBlockHighlighter::codeOverTheLimitStaysPlainAtOnce()
{
    QString code;
    while (code.size() <= CodeHighlighter::maxCodeLength)
        code += typeScript;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(CodeBlockHighlighter::ranges(code, QStringLiteral("ts"), palette).isEmpty());
    QVERIFY2(timer.elapsed() < 20, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(CodeHighlightCache::shared().byteSize(), 0); // not even looked at
}

void TestCodeBlockHighlighter::knownLanguageIsColouredOnceAndThenFromTheCache()
{
    if (!hasTypeScriptGrammar())
        QSKIP("this build has no TypeScript grammar yet");
    CodeHighlightCache::shared().clear();
    const QList<CodeHighlightRange> ranges =
        CodeBlockHighlighter::ranges(typeScript, QStringLiteral("ts"), palette);
    QVERIFY(ranges.size() >= 4);
    for (const CodeHighlightRange &range : ranges) {
        QVERIFY(range.start >= 0 && range.length > 0 && range.start + range.length <= typeScript.size());
        const TextAttributes attributes = range.style.applied({});
        QVERIFY(attributes.foregroundColor);
        QVERIFY(!attributes.fontProperties); // colour only: the block keeps its size
    }
    const qsizetype cached = CodeHighlightCache::shared().byteSize();
    QVERIFY(cached > 0);
    QCOMPARE(CodeBlockHighlighter::ranges(typeScript, QStringLiteral("TypeScript"), palette).size(),
             ranges.size());
    QCOMPARE(CodeHighlightCache::shared().byteSize(), cached);
}

void TestCodeBlockHighlighter::highlightingAheadFillsTheCacheForNestedBlocks()
{
    if (!hasTypeScriptGrammar())
        QSKIP("this build has no TypeScript grammar yet");
    const QString markdown = QStringLiteral("Text.\n\n- item\n\n  ```ts\n  const b = 2;\n  ```\n\n"
                                            "> ```ts\n> let a = 1;\n> ```\n\n```unknown\nx\n```\n");
    CodeBlockHighlighter::highlightAhead(MarkdownParser::parse(markdown), std::chrono::seconds(5));
    const QString language = *CodeHighlighter::languageOf(u"ts");
    QVERIFY(CodeHighlightCache::shared().find(language, QStringLiteral("let a = 1;")));
    QVERIFY(CodeHighlightCache::shared().find(language, QStringLiteral("const b = 2;")));

    // No time left: nothing is highlighted, and nothing is remembered as plain.
    CodeHighlightCache::shared().clear();
    CodeBlockHighlighter::highlightAhead(MarkdownParser::parse(markdown), std::chrono::milliseconds(0));
    QCOMPARE(CodeHighlightCache::shared().byteSize(), 0);
}

QTEST_GUILESS_MAIN(TestCodeBlockHighlighter)
#include "tst_codeblockhighlighter.moc"
