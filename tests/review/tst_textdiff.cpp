#include "review/textdiff.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

using namespace kestrune;

namespace {

using Op = DiffOperation;
using Hunks = QList<DiffHunk>;

QString readData(const QString &name)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

QJsonArray toJson(const Hunks &hunks)
{
    QJsonArray array;
    for (const DiffHunk &hunk : hunks)
        array.append(QJsonObject{{"op", rawValue(hunk.operation)}, {"text", hunk.text}});
    return array;
}

// The old text (equal and removed hunks) or the new one (equal and inserted hunks); the texts
// compared below have no white space at line ends, which would be taken from the new one.
QString side(const Hunks &hunks, Op changed)
{
    QString text;
    for (const DiffHunk &hunk : hunks) {
        if (hunk.operation == Op::equal || hunk.operation == changed)
            text += hunk.text;
    }
    return text;
}

QString randomWords(QRandomGenerator &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("w%1%2").arg(random.bounded(1000)).arg(i % 12 == 11 ? u'\n' : u' ');
    return text;
}

} // namespace

Q_DECLARE_METATYPE(DiffHunk)

class TextDiffTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordDifferencesOfARequirement();
    void changedWordsKeepTheirMarkupAndJoinAcrossSpaces_data();
    void changedWordsKeepTheirMarkupAndJoinAcrossSpaces();
    void wholeLinesWhenMostWordsDiffer();
    void hunksGiveBackBothTexts_data();
    void hunksGiveBackBothTexts();
};

void TextDiffTest::wordDifferencesOfARequirement()
{
    const TextDiff diff = TextDiff::compare(readData("worddiff-before.md"), readData("worddiff-after.md"));
    QCOMPARE(diff.granularity, TextDiff::Granularity::words);
    const QJsonArray expected = QJsonDocument::fromJson(readData("worddiff-expected.json").toUtf8()).array();
    const QJsonArray actual = toJson(diff.hunks);
    if (actual != expected)
        qWarning().noquote() << QJsonDocument(actual).toJson();
    QCOMPARE(actual, expected);
}

void TextDiffTest::changedWordsKeepTheirMarkupAndJoinAcrossSpaces_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<Hunks>("expected");

    QTest::addRow("markup stays with its word") << "- **WHEN** the user saves the note now"
                                                << "- **THEN** the user saves the note now"
                                                << Hunks{{Op::equal, "- "},
                                                         {Op::remove, "**WHEN**"},
                                                         {Op::insert, "**THEN**"},
                                                         {Op::equal, " the user saves the note now"}};
    QTest::addRow("changes one space apart join") << "keep the quick fox here and there too"
                                                  << "keep the slow dog here and there too"
                                                  << Hunks{{Op::equal, "keep the "},
                                                           {Op::remove, "quick fox"},
                                                           {Op::insert, "slow dog"},
                                                           {Op::equal, " here and there too"}};
    QTest::addRow("a line break keeps them apart")
        << "one two three\nfour five six seven"
        << "one two tres\ncuatro five six seven"
        << Hunks{{Op::equal, "one two "},       {Op::remove, "three"},
                 {Op::insert, "tres"},          {Op::equal, "\n"},
                 {Op::remove, "four"},          {Op::insert, "cuatro"},
                 {Op::equal, " five six seven"}};
    QTest::addRow("white space only")
        << "a b  c d"
        << "a b c d" << Hunks{{Op::equal, "a b"}, {Op::remove, "  "}, {Op::insert, " "}, {Op::equal, "c d"}};
    QTest::addRow("white space at line ends is not compared")
        << "one two  \nthree"
        << "one two\nthree" << Hunks{{Op::equal, "one two\nthree"}};
    QTest::addRow("indentation is") << "one\n  two"
                                    << "one\ntwo"
                                    << Hunks{{Op::equal, "one"},
                                             {Op::remove, "\n  "},
                                             {Op::insert, "\n"},
                                             {Op::equal, "two"}};
    QTest::addRow("same text") << "same text"
                               << "same text" << Hunks{{Op::equal, "same text"}};
    QTest::addRow("both empty") << ""
                                << "" << Hunks{};
}

void TextDiffTest::changedWordsKeepTheirMarkupAndJoinAcrossSpaces()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(Hunks, expected);
    const TextDiff diff = TextDiff::compare(before, after);
    QCOMPARE(diff.granularity, TextDiff::Granularity::words);
    QCOMPARE(diff.hunks, expected);
}

void TextDiffTest::wholeLinesWhenMostWordsDiffer()
{
    // Three of seven words differ in the first line, all five in the second: 16 of 28.
    const QString before =
        QStringLiteral("The link SHALL expire after one hour.\nIt is single-use and short.\nThe end.\n");
    const QString after = QStringLiteral(
        "The code SHALL expire after fifteen minutes.\nBoth get invalidated at once.\nThe end.\n");
    const TextDiff diff = TextDiff::compare(before, after);
    QCOMPARE(diff.granularity, TextDiff::Granularity::lines);
    QCOMPARE(
        diff.hunks,
        (Hunks{{Op::remove, "The link SHALL expire after one hour.\nIt is single-use and short.\n"},
               {Op::insert, "The code SHALL expire after fifteen minutes.\nBoth get invalidated at once.\n"},
               {Op::equal, "The end.\n"}}));

    // Half of the words differing is still shown word by word.
    const TextDiff half = TextDiff::compare(u"a b c d", u"a b x y");
    QCOMPARE(half.granularity, TextDiff::Granularity::words);
}

void TextDiffTest::hunksGiveBackBothTexts_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("byLines");

    QTest::addRow("insertion into nothing") << ""
                                            << "### Requirement: New\nText\n"
                                            << true;
    QTest::addRow("everything removed") << "### Requirement: Old\nText"
                                        << "" << true;
    QTest::addRow("requirement") << readData("worddiff-before.md") << readData("worddiff-after.md") << false;
    QTest::addRow("no final line break") << "a b\nc"
                                         << "a b\nc d" << false;
    QTest::addRow("non-ASCII white space")
        << QStringLiteral("a\u3000b c") << QStringLiteral("a\u00A0b c") << false;

    // Too many edits to search word by word: compared line by line, or replaced whole.
    QRandomGenerator random(7);
    const QString common = randomWords(random, 3000);
    QTest::addRow("thousands of words apart")
        << common + randomWords(random, 3000) << randomWords(random, 3000) + common << true;
    QTest::addRow("unrelated long texts") << randomWords(random, 15000) << randomWords(random, 15000) << true;
}

void TextDiffTest::hunksGiveBackBothTexts()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, byLines);
    const TextDiff diff = TextDiff::compare(before, after);
    QCOMPARE(diff.granularity, byLines ? TextDiff::Granularity::lines : TextDiff::Granularity::words);
    QCOMPARE(side(diff.hunks, Op::remove), before);
    QCOMPARE(side(diff.hunks, Op::insert), after);
    for (qsizetype i = 1; i < diff.hunks.size(); ++i) {
        QVERIFY(!diff.hunks.at(i).text.isEmpty());
        // Runs are merged: no two equal hunks in a row, a removal never after an insertion.
        const Op previous = diff.hunks.at(i - 1).operation;
        const Op current = diff.hunks.at(i).operation;
        QVERIFY(previous != current);
        QVERIFY(!(previous == Op::insert && current == Op::remove));
    }
}

QTEST_GUILESS_MAIN(TextDiffTest)
#include "tst_textdiff.moc"
