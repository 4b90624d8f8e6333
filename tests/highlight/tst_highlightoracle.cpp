// The engine against highlight.js itself: the same grammars run by the library's own script in
// Qt's JavaScript engine must give every character of realistic snippets the same kind.

#include "highlight/codehighlighter.h"
#include "highlight/highlightclasses_p.h"

#include <QFile>
#include <QJSEngine>
#include <QLoggingCategory>
#include <QTest>

#include <vector>

using namespace kestrune;

namespace {

// The kind of every character from highlight.js's HTML: the innermost span whose class has a
// kind; sub-language spans (class names without the prefix) have none.
std::vector<int> kindsOfHtml(const QString &html)
{
    std::vector<int> kinds;
    std::vector<int> open{-1};
    qsizetype at = 0;
    while (at < html.size()) {
        if (html.at(at) == u'<') {
            const qsizetype close = html.indexOf(u'>', at);
            const QStringView tag = QStringView(html).mid(at, close - at + 1);
            if (tag.startsWith(u"</")) {
                open.pop_back();
            } else {
                const qsizetype quote = tag.indexOf(u'"');
                const QStringView className = tag.mid(quote + 1, tag.lastIndexOf(u'"') - quote - 1);
                int kind = open.back();
                if (className.startsWith(u"hljs-")) {
                    if (const std::optional<CodeTokenKind> own = codeTokenKindOfClass(className.mid(5)))
                        kind = int(*own);
                }
                open.push_back(kind);
            }
            at = close + 1;
            continue;
        }
        if (html.at(at) == u'&') {
            const qsizetype semicolon = html.indexOf(u';', at);
            at = semicolon + 1;
        } else {
            ++at;
        }
        kinds.push_back(open.back());
    }
    return kinds;
}

std::vector<int> kindsOfTokens(const QList<CodeToken> &tokens, qsizetype length)
{
    std::vector<int> kinds(std::size_t(length), -1);
    for (const CodeToken &token : tokens) {
        for (int i = token.start; i < token.start + token.length; ++i)
            kinds[std::size_t(i)] = int(token.kind);
    }
    return kinds;
}

QString kindName(int kind)
{
    return kind < 0 ? QStringLiteral("plain") : codeTokenKindName(CodeTokenKind(kind));
}

} // namespace

class HighlightOracleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void agreesWithHighlightJs_data();
    void agreesWithHighlightJs();

private:
    QJSEngine m_engine;
    QJSValue m_highlight;
};

void HighlightOracleTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler*=false"));
    QFile script(QStringLiteral(KESTRUNE_HIGHLIGHT_JS));
    QVERIFY(script.open(QIODevice::ReadOnly));
    m_engine.installExtensions(QJSEngine::ConsoleExtension);
    const QJSValue loaded =
        m_engine.evaluate(QStringLiteral("var exports = {};\n") + QString::fromUtf8(script.readAll()));
    QVERIFY2(!loaded.isError(), qPrintable(loaded.toString()));
    // Grammars share some modes and compile them for the first language that uses them, so
    // they are compiled in the order the export compiled them.
    const QJSValue prepared = m_engine.evaluate(QStringLiteral(
        "hljs.configure({hideUpgradeWarningAcceptNoSupportOrSecurityUpdates: true});"
        "(function(names) { names.forEach(function(n) { hljs.highlight(n, 'x', true); }); })"));
    prepared.call({m_engine.toScriptValue(CodeHighlighter::languages())});
    m_highlight =
        m_engine.evaluate(QStringLiteral("(function(l, c) { return hljs.highlight(l, c, true).value; })"));
    QVERIFY(m_highlight.isCallable());
}

void HighlightOracleTest::agreesWithHighlightJs_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("code");
#include "oraclesnippets.inc"
}

void HighlightOracleTest::agreesWithHighlightJs()
{
    QFETCH(QString, language);
    QFETCH(QString, code);
    const std::optional<QList<CodeToken>> tokens =
        CodeHighlighter::highlight(code, language, std::chrono::seconds(10));
    QVERIFY(tokens);
    // Every snippet has something to colour: agreeing on plain text alone proves nothing.
    const QString html = m_highlight.call({language, code}).toString();
    if (qEnvironmentVariableIsSet("ORACLE_DUMP"))
        qDebug().noquote() << html;
    QVERIFY(tokens->size() >= 3);
    const std::vector<int> expected = kindsOfHtml(html);
    const std::vector<int> actual = kindsOfTokens(*tokens, code.size());
    QCOMPARE(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != actual[i]) {
            const qsizetype from = std::max<qsizetype>(0, qsizetype(i) - 20);
            QFAIL(qPrintable(
                QStringLiteral("character %1 (%2) is %3, highlight.js says %4, after \"%5\"")
                    .arg(i)
                    .arg(code.mid(qsizetype(i), 10))
                    .arg(kindName(actual[i]), kindName(expected[i]), code.mid(from, qsizetype(i) - from))));
        }
    }
}

QTEST_GUILESS_MAIN(HighlightOracleTest)
#include "tst_highlightoracle.moc"
