#include "text/linebreaks.h"
#include "text/searchpattern.h"

#include <QTest>

using namespace kestrune;

namespace {

// The matched pieces of text, for readable comparisons.
QStringList matchedTexts(const SearchPattern &pattern, const QString &text)
{
    QStringList texts;
    for (const TextMatch &match : pattern.matchesIn(text))
        texts.append(text.mid(match.start, match.length));
    return texts;
}

} // namespace

class SearchPatternTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainText_data();
    void plainText();
    void regularExpressions_data();
    void regularExpressions();
    void matchesStayWithinOneLine();
    void invalidExpressionSaysWhy();
    void nonAsciiCaseAsQtComparesIt();
    void visitCanStopEarly();
};

void SearchPatternTest::plainText_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QString text = QStringLiteral("Rate limits: the rate_limit and RATE. Accurate rates.");
    QTest::newRow("any case") << "rate" << false << false << text
                              << QStringList{"Rate", "rate", "RATE", "rate", "rate"};
    QTest::newRow("case sensitive") << "rate" << true << false << text << QStringList{"rate", "rate", "rate"};
    QTest::newRow("whole word") << "rate" << false << true << text << QStringList{"Rate", "RATE"};
    QTest::newRow("underscore joins a word") << "limit" << false << true << text << QStringList{};
    QTest::newRow("word after a failed candidate") << "aa" << false << true << "aaa aa" << QStringList{"aa"};
    QTest::newRow("no overlaps") << "aa" << false << false << "aaaaa" << QStringList{"aa", "aa"};
    QTest::newRow("empty query") << "" << false << false << text << QStringList{};
    QTest::newRow("query with a line break") << "a\nb" << false << false << "a\nb" << QStringList{};
}

void SearchPatternTest::plainText()
{
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, wholeWord);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const SearchPattern pattern(query, {caseSensitive, wholeWord, false});
    QCOMPARE(matchedTexts(pattern, text), expected);
    QCOMPARE(pattern.matchCountIn(text), expected.size());
}

void SearchPatternTest::regularExpressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("any case by default") << "ra+te" << false << "RAATE rate" << QStringList{"RAATE", "rate"};
    QTest::newRow("anchors are line ends") << "^#+ \\w+$" << false << "# One\ntext # Two\n## Three\r\n"
                                           << QStringList{"# One", "## Three"};
    QTest::newRow("empty matches skipped") << "x*" << false << "axxb x" << QStringList{"xx", "x"};
    QTest::newRow("whole word") << "rate\\w?" << true << "rates accurate rate"
                                << QStringList{"rates", "rate"};
    QTest::newRow("look-behind sees the line")
        << "(?<=MUST )\\w+" << false << "it MUST work\nMUST fail" << QStringList{"work", "fail"};
}

void SearchPatternTest::regularExpressions()
{
    QFETCH(QString, expression);
    QFETCH(bool, wholeWord);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const SearchPattern pattern(expression, {false, wholeWord, true});
    QVERIFY(pattern.isValid());
    QCOMPARE(matchedTexts(pattern, text), expected);
}

void SearchPatternTest::matchesStayWithinOneLine()
{
    // White space and negated classes would run over a line break; the line's own matches are
    // still found, before and after the crossing.
    const QString text = QStringLiteral("rate a\n  limit\r\nrate x limit");
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("rate\\s+\\w+"), {false, false, true}), text),
             (QStringList{"rate a", "rate x"}));
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("a\\s+limit"), {false, false, true}), text),
             QStringList{});
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("[^x]+limit"), {false, false, true}), text),
             (QStringList{"  limit", " limit"}));
    const QList<TextMatch> lineMatches = SearchPattern(QStringLiteral("limit")).matchesIn(text);
    QCOMPARE(lineMatches.size(), 2);
    QCOMPARE(LineBreaks::lineStart(text, lineMatches[0].start), 7);
    QCOMPARE(LineBreaks::lineEnd(text, lineMatches[0].start), 14);
    QCOMPARE(LineBreaks::lineStart(text, lineMatches[1].start), 16);
    QCOMPARE(LineBreaks::lineEnd(text, lineMatches[1].start), text.size());
}

void SearchPatternTest::invalidExpressionSaysWhy()
{
    const SearchPattern pattern(QStringLiteral("rate(limit"), {false, false, true});
    QVERIFY(!pattern.isValid());
    QVERIFY2(pattern.errorString().endsWith(QLatin1String("at offset 10")),
             qPrintable(pattern.errorString()));
    QCOMPARE(pattern.matchCountIn(u"rate(limit"), 0);
    // The same text as plain text is fine.
    QCOMPARE(SearchPattern(QStringLiteral("rate(limit")).matchCountIn(u"rate(limit"), 1);
}

void SearchPatternTest::nonAsciiCaseAsQtComparesIt()
{
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("größe")),
                          QStringLiteral("Die GRÖSSE, die GRÖẞE, die Größe")),
             (QStringList{"GRÖẞE", "Größe"}));
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("检索")), QStringLiteral("全文检索与检索结果")),
             (QStringList{"检索", "检索"}));
    // A letter with a combining mark: whole-word search treats the mark as part of the word.
    const QString decomposed = QStringLiteral("cafe\u0301 cafe");
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("cafe"), {false, true, false}), decomposed),
             QStringList{"cafe"});
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("CAFE\u0301")), decomposed),
             QStringList{"cafe\u0301"});
    // Dotted and dotless i fold as Qt folds them, independent of any Turkish locale: "İ" is its
    // own letter, "ı" upper-cases to "I".
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("istanbul")), QStringLiteral("İstanbul ISTANBUL")),
             QStringList{"ISTANBUL"});
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("ı")), QStringLiteral("I ı i")), QStringList{"ı"});
    // Expressions fold letters the same way as plain text.
    QCOMPARE(matchedTexts(SearchPattern(QStringLiteral("gr(ö|oe)ße"), {false, false, true}),
                          QStringLiteral("GRÖẞE")),
             QStringList{"GRÖẞE"});
}

void SearchPatternTest::visitCanStopEarly()
{
    int visits = 0;
    SearchPattern(QStringLiteral("a")).forEachMatch(u"aaaa", [&visits](const TextMatch &) {
        return ++visits < 2;
    });
    QCOMPARE(visits, 2);
}

QTEST_GUILESS_MAIN(SearchPatternTest)
#include "tst_searchpattern.moc"
