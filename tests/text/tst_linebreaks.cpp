#include "text/linebreaks.h"

#include <QTest>

using namespace kestrune;

class TestLineBreaks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesEndAtLineFeedCrLfAndLoneCr_data();
    void linesEndAtLineFeedCrLfAndLoneCr();
    void lineStartsAndEnds();
};

void TestLineBreaks::linesEndAtLineFeedCrLfAndLoneCr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<qsizetype>>("offsets"); // where lines 0, 1, 2, ... start

    QTest::addRow("no line end") << QStringLiteral("abc") << 0 << QList<qsizetype>({0, 3});
    QTest::addRow("line feed") << QStringLiteral("a\nb") << 1 << QList<qsizetype>({0, 2, 3});
    QTest::addRow("CR LF is one line end") << QStringLiteral("a\r\nb") << 1 << QList<qsizetype>({0, 3, 4});
    QTest::addRow("lone CR") << QStringLiteral("a\rb") << 1 << QList<qsizetype>({0, 2, 3});
    QTest::addRow("LF CR is two") << QStringLiteral("a\n\rb") << 2 << QList<qsizetype>({0, 2, 3, 4});
    QTest::addRow("all three, ending with CR")
        << QStringLiteral("a\nb\r\nc\r") << 3 << QList<qsizetype>({0, 2, 5, 7, 7});
    QTest::addRow("empty") << QString() << 0 << QList<qsizetype>({0, 0});
}

void TestLineBreaks::linesEndAtLineFeedCrLfAndLoneCr()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QList<qsizetype>, offsets);

    QCOMPARE(LineBreaks::count(text), count);
    for (int line = 0; line < offsets.size(); ++line)
        QCOMPARE(LineBreaks::offsetOfLine(text, line), offsets[line]);
    // Walking the text line by line arrives at the same starts.
    qsizetype at = 0;
    for (int line = 0; line < count; ++line) {
        at = LineBreaks::lineEnd(text, at);
        QVERIFY(LineBreaks::lengthAt(text, at) > 0);
        at += LineBreaks::lengthAt(text, at);
        QCOMPARE(at, offsets[line + 1]);
    }
}

void TestLineBreaks::lineStartsAndEnds()
{
    const QString text = QStringLiteral("one\r\ntwo\rthree");
    QCOMPARE(LineBreaks::lineStart(text, 6), 5);
    QCOMPARE(LineBreaks::lineEnd(text, 6), 8);
    QCOMPARE(LineBreaks::lineStart(text, 12), 9);
    QCOMPARE(LineBreaks::lineEnd(text, 12), text.size());
    QCOMPARE(LineBreaks::lengthAt(text, 3), 2);
    QCOMPARE(LineBreaks::lengthAt(text, 4), 1); // the LF of CR LF alone ends the line too
    QCOMPARE(LineBreaks::lengthAt(text, 8), 1);
    QCOMPARE(LineBreaks::lengthAt(text, text.size()), 0);
    QVERIFY(!LineBreaks::endsLineAt(text, 3)); // the CR of CR LF: its LF ends the line
    QVERIFY(LineBreaks::endsLineAt(text, 4));
    QVERIFY(LineBreaks::endsLineAt(text, 8));
}

QTEST_GUILESS_MAIN(TestLineBreaks)

#include "tst_linebreaks.moc"
