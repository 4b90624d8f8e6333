#include "highlight/codehighlighter.h"
#include "highlight/grammarlibrary_p.h"
#include "highlight/jsregextranslation_p.h"

#include <QRegularExpression>
#include <QtConcurrent>
#include <QTest>

using namespace kestrune;

namespace {

// The kind the tokens give the character at `at`, or nothing when it is plain.
std::optional<CodeTokenKind> kindAt(const QList<CodeToken> &tokens, int at)
{
    for (const CodeToken &token : tokens) {
        if (at >= token.start && at < token.start + token.length)
            return token.kind;
    }
    return std::nullopt;
}

// The tokens in order, not overlapping, within the code.
bool wellFormed(const QList<CodeToken> &tokens, qsizetype length)
{
    int end = 0;
    for (const CodeToken &token : tokens) {
        if (token.start < end || token.length <= 0 || token.start + token.length > length)
            return false;
        end = token.start + token.length;
    }
    return true;
}

QString typeScriptBlock(qsizetype size)
{
    const QString unit = QStringLiteral(
        "export function f<T>(x: T): string { return `v=${x}`; } // note\nconst n = 0x1f + 2; /* c */\n");
    QString code;
    while (code.size() + unit.size() <= size)
        code += unit;
    return code;
}

} // namespace

class CodeHighlighterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void languageOfFenceInfo_data();
    void languageOfFenceInfo();
    void everyBundledLanguageHighlights();
    void everyGrammarPatternCompiles();
    void javaScriptPatternsMeanTheSameInPcre_data();
    void javaScriptPatternsMeanTheSameInPcre();
    void refusesUnknownLanguagesAndLongCode();
    void givesUpPastTheBudget();
    void offsetsStayRightAcrossCrLfAndNonAscii();
    void highlightsFromManyThreadsAlike();
};

void CodeHighlighterTest::languageOfFenceInfo_data()
{
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("language");
    QTest::addRow("grammar name") << QStringLiteral("typescript") << QStringLiteral("typescript");
    QTest::addRow("letter case is ignored") << QStringLiteral("TypeScript") << QStringLiteral("typescript");
    QTest::addRow("first word of the info string")
        << QStringLiteral("ts title=\"a.ts\"") << QStringLiteral("typescript");
    QTest::addRow("attributes in braces")
        << QStringLiteral("python{.numberLines}") << QStringLiteral("python");
    QTest::addRow("tsx") << QStringLiteral("tsx") << QStringLiteral("typescript");
    QTest::addRow("jsx") << QStringLiteral("jsx") << QStringLiteral("javascript");
    QTest::addRow("mjs") << QStringLiteral("mjs") << QStringLiteral("javascript");
    QTest::addRow("sh") << QStringLiteral("sh") << QStringLiteral("bash");
    QTest::addRow("shell is a script") << QStringLiteral("shell") << QStringLiteral("bash");
    QTest::addRow("zsh") << QStringLiteral("zsh") << QStringLiteral("bash");
    QTest::addRow("console is a session") << QStringLiteral("console") << QStringLiteral("shell");
    QTest::addRow("c#") << QStringLiteral("c#") << QStringLiteral("cs");
    QTest::addRow("csharp") << QStringLiteral("csharp") << QStringLiteral("cs");
    QTest::addRow("jsonc") << QStringLiteral("jsonc") << QStringLiteral("json");
    QTest::addRow("yml") << QStringLiteral("yml") << QStringLiteral("yaml");
    QTest::addRow("toml") << QStringLiteral("toml") << QStringLiteral("ini");
    QTest::addRow("py") << QStringLiteral("py") << QStringLiteral("python");
    QTest::addRow("rs") << QStringLiteral("rs") << QStringLiteral("rust");
    QTest::addRow("c") << QStringLiteral("c") << QStringLiteral("cpp");
    QTest::addRow("c++") << QStringLiteral("c++") << QStringLiteral("cpp");
    QTest::addRow("hpp") << QStringLiteral("hpp") << QStringLiteral("cpp");
    QTest::addRow("html") << QStringLiteral("html") << QStringLiteral("xml");
    QTest::addRow("svg") << QStringLiteral("svg") << QStringLiteral("xml");
    QTest::addRow("md") << QStringLiteral("md") << QStringLiteral("markdown");
    QTest::addRow("kt") << QStringLiteral("kt") << QStringLiteral("kotlin");
    QTest::addRow("patch") << QStringLiteral("patch") << QStringLiteral("diff");
    QTest::addRow("docker") << QStringLiteral("docker") << QStringLiteral("dockerfile");
    QTest::addRow("txt") << QStringLiteral("txt") << QStringLiteral("plaintext");
    QTest::addRow("golang") << QStringLiteral("golang") << QStringLiteral("go");
    QTest::addRow("a grammar's own alias") << QStringLiteral("pl") << QStringLiteral("perl");
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("starts with a brace") << QStringLiteral("{.python}") << QString();
    QTest::addRow("mermaid is not bundled") << QStringLiteral("mermaid") << QString();
    QTest::addRow("prisma is not bundled") << QStringLiteral("prisma") << QString();
    QTest::addRow("svelte is not bundled") << QStringLiteral("svelte") << QString();
    QTest::addRow("razor is not bundled") << QStringLiteral("razor") << QString();
    QTest::addRow("made up") << QStringLiteral("nosuchlanguage") << QString();
}

void CodeHighlighterTest::languageOfFenceInfo()
{
    QFETCH(QString, info);
    QFETCH(QString, language);
    QCOMPARE(CodeHighlighter::languageOf(info).value_or(QString()), language);
}

void CodeHighlighterTest::everyBundledLanguageHighlights()
{
    const QStringList languages = CodeHighlighter::languages();
    for (const char *expected : {"typescript", "javascript", "cs",   "bash", "shell", "json",     "yaml",
                                 "ini",        "sql",        "xml",  "css",  "scss",  "less",     "markdown",
                                 "python",     "go",         "rust", "cpp",  "java",  "kotlin",   "diff",
                                 "dockerfile", "plaintext",  "php",  "ruby", "swift", "makefile", "cmake",
                                 "powershell", "protobuf",   "lua",  "perl", "dart"})
        QVERIFY2(languages.contains(QLatin1String(expected)), expected);
    const QString code = QStringLiteral("# x\nif (a == \"b\") { return 1; } // c\n<x y=\"z\">\n");
    for (const QString &language : languages) {
        const std::optional<QList<CodeToken>> tokens = CodeHighlighter::highlight(code, language);
        QVERIFY2(tokens, qPrintable(language));
        QVERIFY2(wellFormed(*tokens, code.size()), qPrintable(language));
    }
}

void CodeHighlighterTest::everyGrammarPatternCompiles()
{
    const GrammarLibrary &library = GrammarLibrary::instance();
    int patterns = 0;
    for (const QString &language : library.languages()) {
        const Grammar *grammar = library.grammar(language);
        QVERIFY(grammar);
        for (const QRegularExpression &pattern : grammar->patterns()) {
            QVERIFY2(
                pattern.isValid(),
                qPrintable(
                    QStringLiteral("%1: %2 in %3").arg(language, pattern.errorString(), pattern.pattern())));
            ++patterns;
        }
    }
    QVERIFY(patterns > 1000);
}

void CodeHighlighterTest::javaScriptPatternsMeanTheSameInPcre_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("length"); // -1 for no match at `at`
    QTest::addRow("\\u escape") << QStringLiteral("\\u00e9+") << QStringLiteral("éé") << 0 << 2;
    QTest::addRow("[^] is any character") << QStringLiteral("a[^]b") << QStringLiteral("a\nb") << 0 << 3;
    QTest::addRow("[] never matches") << QStringLiteral("a[]|b") << QStringLiteral("a") << 0 << -1;
    QTest::addRow("dot stops at CR") << QStringLiteral("a.") << QStringLiteral("a\r") << 0 << -1;
    QTest::addRow("dot stops at line separator")
        << QStringLiteral("a.") << QStringLiteral("a\u2028") << 0 << -1;
    QTest::addRow("$ before CR") << QStringLiteral("a$") << QStringLiteral("a\r\n") << 0 << 1;
    QTest::addRow("^ after CR") << QStringLiteral("^b") << QStringLiteral("a\rb") << 2 << 1;
    QTest::addRow("^ after a final LF") << QStringLiteral("^") << QStringLiteral("a\n") << 2 << 0;
    QTest::addRow("\\s takes a no-break space")
        << QStringLiteral("a\\sb") << QStringLiteral("a\u00a0b") << 0 << 3;
    QTest::addRow("\\S refuses a no-break space")
        << QStringLiteral("a\\Sb") << QStringLiteral("a\u00a0b") << 0 << -1;
    QTest::addRow("letter escape is the letter")
        << QStringLiteral("\\e\\q") << QStringLiteral("eq") << 0 << 2;
    QTest::addRow("\\v is a vertical tab") << QStringLiteral("\\v") << QStringLiteral("\n") << 0 << -1;
    QTest::addRow("[ inside a class") << QStringLiteral("[[(]+") << QStringLiteral("[(") << 0 << 2;
    QTest::addRow("hyphen after \\w in a class")
        << QStringLiteral("[\\w-.]+") << QStringLiteral("a-b.c") << 0 << 5;
    QTest::addRow("\\b in a class is a backspace")
        << QStringLiteral("[\\b]") << QStringLiteral("\b") << 0 << 1;
}

void CodeHighlighterTest::javaScriptPatternsMeanTheSameInPcre()
{
    QFETCH(QString, pattern);
    QFETCH(QString, subject);
    QFETCH(int, at);
    QFETCH(int, length);
    const QRegularExpression expression = compileJavaScriptPattern(pattern, false);
    QVERIFY2(expression.isValid(), qPrintable(expression.errorString()));
    const QRegularExpressionMatch match = expression.match(subject, at, QRegularExpression::NormalMatch,
                                                           QRegularExpression::AnchorAtOffsetMatchOption);
    QCOMPARE(match.hasMatch() ? int(match.capturedLength()) : -1, length);
}

void CodeHighlighterTest::refusesUnknownLanguagesAndLongCode()
{
    QVERIFY(!CodeHighlighter::highlight(u"x = 1", QStringLiteral("nosuchlanguage")));
    QVERIFY(CodeHighlighter::highlight(u"x = 1", QStringLiteral("csharp")));

    const QString longCode = typeScriptBlock(CodeHighlighter::maxCodeLength + 200);
    QVERIFY(longCode.size() > CodeHighlighter::maxCodeLength);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!CodeHighlighter::highlight(longCode, QStringLiteral("typescript"), std::chrono::seconds(10)));
    QVERIFY(timer.elapsed() < 50);
    QVERIFY(CodeHighlighter::highlight(QStringView(longCode).first(CodeHighlighter::maxCodeLength),
                                       QStringLiteral("typescript"), std::chrono::seconds(10)));
}

void CodeHighlighterTest::givesUpPastTheBudget()
{
    const QString code = typeScriptBlock(CodeHighlighter::maxCodeLength);
    CodeHighlighter::highlight(u"x", QStringLiteral("typescript")); // the grammar compiled
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!CodeHighlighter::highlight(code, QStringLiteral("typescript"), std::chrono::milliseconds(1)));
    QVERIFY(timer.elapsed() < 100);
}

void CodeHighlighterTest::offsetsStayRightAcrossCrLfAndNonAscii()
{
    const QString code = QStringLiteral("// Grüße 😀\r\nconst s = \"naïve ✓\";\r\nlet n = 42;\r\n");
    const std::optional<QList<CodeToken>> tokens =
        CodeHighlighter::highlight(code, QStringLiteral("javascript"));
    QVERIFY(tokens);
    QVERIFY(wellFormed(*tokens, code.size()));
    // The comment ends at the CR: the line break and the next line are not comment.
    const int cr = int(code.indexOf(u'\r'));
    QCOMPARE(kindAt(*tokens, cr - 1), CodeTokenKind::comment);
    QCOMPARE(kindAt(*tokens, cr), std::nullopt);
    QCOMPARE(kindAt(*tokens, int(code.indexOf(u"const"))), CodeTokenKind::keyword);
    const int string = int(code.indexOf(u'"'));
    QCOMPARE(kindAt(*tokens, string), CodeTokenKind::string);
    QCOMPARE(kindAt(*tokens, int(code.indexOf(u'"', string + 1))), CodeTokenKind::string);
    QCOMPARE(kindAt(*tokens, int(code.indexOf(u';'))), std::nullopt);
    const int number = int(code.indexOf(u"42"));
    QCOMPARE(kindAt(*tokens, number), CodeTokenKind::number);
    QCOMPARE(kindAt(*tokens, number + 1), CodeTokenKind::number);
    QCOMPARE(kindAt(*tokens, number + 2), std::nullopt);
}

void CodeHighlighterTest::highlightsFromManyThreadsAlike()
{
    const QList<std::pair<QString, QString>> blocks{
        {QStringLiteral("typescript"), typeScriptBlock(8000)},
        {QStringLiteral("xml"),
         QStringLiteral("<p a=\"1\"><script>let x = 1;</script><style>p{color:red}</style></p>\n")
             .repeated(60)},
        {QStringLiteral("python"), QStringLiteral("def f(x):\n    return x + 1  # c\n").repeated(200)},
        {QStringLiteral("markdown"), QStringLiteral("# T\n\n*a* `b` [c](d)\n").repeated(200)},
    };
    QList<QList<CodeToken>> expected;
    for (const auto &[language, code] : blocks)
        expected.append(CodeHighlighter::highlight(code, language, std::chrono::seconds(10)).value());

    QList<int> work;
    for (int i = 0; i < 64; ++i)
        work.append(i % int(blocks.size()));
    const QList<bool> alike = QtConcurrent::blockingMapped(work, [&](int block) {
        const auto &[language, code] = blocks[block];
        return CodeHighlighter::highlight(code, language, std::chrono::seconds(30)) == expected[block];
    });
    QVERIFY(!alike.contains(false));
}

QTEST_GUILESS_MAIN(CodeHighlighterTest)
#include "tst_codehighlighter.moc"
