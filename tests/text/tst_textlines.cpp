#include "text/textlines.h"

#include <QTest>

using namespace kestrune;

class TextLinesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimming_data();
    void trimming();
    void splitsWhereLineBreaksEndLines();
    void splitsWholeTextsWithCrLfAsOneBreak();
    void strictUtf8Decoding();
};

void TextLinesTest::trimming_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::addRow("tabs and spaces") << QStringLiteral("\t  - [x] a \t") << QStringLiteral("- [x] a");
    QTest::addRow("no-break and ideographic spaces")
        << QStringLiteral("\u00A0\u3000### Requirement: A\u2003") << QStringLiteral("### Requirement: A");
    QTest::addRow("zero-width space is not white space")
        << QStringLiteral("\u200Bx") << QStringLiteral("\u200Bx");
    QTest::addRow("only white space") << QStringLiteral(" \t\u00A0") << QString();
}

void TextLinesTest::trimming()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(TextLines::trimmed(line).toString(), expected);
}

// A line feed, CR LF and a lone carriage return end a line, as LineBreaks and the Markdown parser
// count them; the other Unicode separators are text.
void TextLinesTest::splitsWhereLineBreaksEndLines()
{
    const QString text = QStringLiteral("a\nb\rc\u000Bd\u000Ce\u0085f\u2028g\u2029h\r\ni\r\n\r\rj");
    QStringList lines;
    TextLines::forEachLine(text, [&lines](QStringView line) { lines << line.toString(); });
    const QStringList expected({"a", "b", "c\u000Bd\u000Ce\u0085f\u2028g\u2029h", "i", "", "", "j"});
    QCOMPARE(lines, expected);
    QCOMPARE(lines.size(), LineBreaks::count(text) + 1);
    QStringList split;
    for (QStringView line : TextLines::splitLines(text))
        split << line.toString();
    QCOMPARE(split, expected);
}

void TextLinesTest::splitsWholeTextsWithCrLfAsOneBreak()
{
    const auto split = [](QStringView text) {
        QStringList lines;
        for (QStringView line : TextLines::splitLines(text))
            lines << line.toString();
        return lines;
    };
    QCOMPARE(split(u"a\r\nb\rc\n\r\nd\u2028e\r\n"), QStringList({"a", "b", "c", "", "d\u2028e", ""}));
    QCOMPARE(split(u"\r\r\n"), QStringList({"", "", ""}));
    QCOMPARE(split(u""), QStringList({""}));
}

void TextLinesTest::strictUtf8Decoding()
{
    QCOMPARE(TextLines::decodeUtf8(QByteArray("caf\xc3\xa9")), QStringLiteral("caf\u00e9"));
    QCOMPARE(TextLines::decodeUtf8(QByteArray("\xef\xbb\xbf# T")), QStringLiteral("# T"));
    QVERIFY(!TextLines::decodeUtf8(QByteArray("caf\xe9")));
    QVERIFY(!TextLines::decodeUtf8(QByteArray("\xc3")));
    QCOMPARE(TextLines::decodeUtf8(QByteArray()), QString());
}

QTEST_APPLESS_MAIN(TextLinesTest)
#include "tst_textlines.moc"
