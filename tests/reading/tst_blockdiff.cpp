// Comparing two Markdown texts block by block: the blocks added, modified and removed and their
// lines, the line counts, the block starts the preview's parser agrees with, and the bounded
// cost of texts it would take too long to compare.
#include "reading/blockdiff.h"
#include "reading/markdownblocksplitter_p.h"

#include "markdown/document/markdownparser.h"

#include <QTest>

using namespace kestrune;

namespace {

using Kind = BlockChange::Kind;

BlockChange added(int first, int count)
{
    return {Kind::added, {first, count}, {}, {}};
}

BlockChange modified(int first, int count, int oldFirst, int oldCount)
{
    return {Kind::modified, {first, count}, {oldFirst, oldCount}, {}};
}

BlockChange removed(int at, int oldFirst, int oldCount, const QString &text)
{
    return {Kind::removed, {at, 0}, {oldFirst, oldCount}, text};
}

const QString planning = QStringLiteral("# Add login\n"
                                        "\n"
                                        "Why we do it,\n"
                                        "on two lines.\n"
                                        "\n"
                                        "## Tasks\n"
                                        "\n"
                                        "- [x] one\n"
                                        "- [ ] two\n"
                                        "  continued\n"
                                        "- [ ] three\n"
                                        "\n"
                                        "```sh\n"
                                        "make\n"
                                        "\n"
                                        "make test\n"
                                        "```\n"
                                        "\n"
                                        "| a | b |\n"
                                        "|---|---|\n"
                                        "| 1 | 2 |\n"
                                        "\n"
                                        "> quoted\n"
                                        "> more\n"
                                        "\n"
                                        "Closing words.\n");

QString replaced(QString text, const QString &before, const QString &after)
{
    return text.replace(before, after);
}

} // namespace

namespace kestrune {

char *toString(const BlockChange &change)
{
    const char *kinds[] = {"added", "modified", "removed"};
    return qstrdup(qPrintable(QStringLiteral("%1 lines %2+%3 old %4+%5")
                                  .arg(QLatin1String(kinds[int(change.kind)]))
                                  .arg(change.lines.first)
                                  .arg(change.lines.count)
                                  .arg(change.oldLines.first)
                                  .arg(change.oldLines.count)));
}

} // namespace kestrune

Q_DECLARE_METATYPE(BlockChange)

class TestBlockDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blocksAndLines_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<BlockChange>>("changes");
        QTest::addColumn<int>("addedLines");
        QTest::addColumn<int>("removedLines");

        QTest::addRow("the same text") << planning << planning << QList<BlockChange>{} << 0 << 0;
        QTest::addRow("a ticked task is its list item modified")
            << planning << replaced(planning, "- [ ] two", "- [x] two")
            << QList<BlockChange>{modified(8, 2, 8, 2)} << 1 << 1;
        QTest::addRow("a paragraph's second line edited")
            << planning << replaced(planning, "on two lines.", "on two lines, edited.")
            << QList<BlockChange>{modified(2, 2, 2, 2)} << 1 << 1;
        QTest::addRow("a heading added at the top") << planning << QStringLiteral("# Overview\n\n") + planning
                                                    << QList<BlockChange>{added(0, 1)} << 2 << 0;
        QTest::addRow("a list item added in the middle")
            << planning << replaced(planning, "- [ ] three\n", "- [ ] three\n- [ ] four\n")
            << QList<BlockChange>{added(11, 1)} << 1 << 0;
        QTest::addRow("a paragraph removed stands before the next block")
            << planning << replaced(planning, "Why we do it,\non two lines.\n\n", QString())
            << QList<BlockChange>{removed(2, 2, 2, QStringLiteral("Why we do it,\non two lines."))} << 0 << 3;
        QTest::addRow("the last block removed stands at the end")
            << planning << replaced(planning, "\nClosing words.\n", QString())
            << QList<BlockChange>{removed(25, 25, 1, QStringLiteral("Closing words."))} << 0 << 2;
        QTest::addRow("a blank line inside fenced code keeps the fence one block")
            << planning << replaced(planning, "make test", "make check")
            << QList<BlockChange>{modified(12, 5, 12, 5)} << 1 << 1;
        QTest::addRow("a table row is its table modified")
            << planning << replaced(planning, "| 1 | 2 |", "| 1 | 3 |")
            << QList<BlockChange>{modified(18, 3, 18, 3)} << 1 << 1;
        QTest::addRow("a quote's lazy line") << planning << replaced(planning, "> more\n", "> more\nlazy\n")
                                             << QList<BlockChange>{modified(22, 3, 22, 2)} << 1 << 0;
        QTest::addRow("a paragraph replaced by a list item")
            << QStringLiteral("Intro.\n\nOld words.\n\nEnd.\n")
            << QStringLiteral("Intro.\n\n- new item\n\nEnd.\n")
            << QList<BlockChange>{removed(2, 2, 1, QStringLiteral("Old words.")), added(2, 1)} << 1 << 1;
        QTest::addRow("a setext heading is one block with its underline")
            << QStringLiteral("Title\n=====\n\nText.\n") << QStringLiteral("Title, longer\n=====\n\nText.\n")
            << QList<BlockChange>{modified(0, 2, 0, 2)} << 1 << 1;
        QTest::addRow("carriage returns end lines as line feeds do")
            << QStringLiteral("One.\r\n\r\nTwo.\r\n") << QStringLiteral("One.\r\n\r\nTwo, more.\r\n")
            << QList<BlockChange>{modified(2, 1, 2, 1)} << 1 << 1;
        QTest::addRow("from nothing") << QString() << QStringLiteral("# New\n\nText.\n")
                                      << QList<BlockChange>{added(0, 1), added(2, 1)} << 3 << 0;
    }

    void blocksAndLines()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QList<BlockChange>, changes);
        QFETCH(int, addedLines);
        QFETCH(int, removedLines);
        const BlockDiffResult result = BlockDiff::compare(before, after);
        QVERIFY(result.hasBlockMarks());
        QCOMPARE(result.outcome,
                 before == after ? BlockDiffResult::Outcome::identical : BlockDiffResult::Outcome::compared);
        QCOMPARE(result.changes, changes);
        QCOMPARE(result.addedLines, addedLines);
        QCOMPARE(result.removedLines, removedLines);
    }

    void blockStartsAgreeWithTheParser()
    {
        const auto lines = MarkdownBlockSplitter::linesOf(planning);
        const auto blocks = MarkdownBlockSplitter::blocksOf(planning, lines);
        QList<int> starts;
        for (const auto &block : blocks)
            starts.append(block.firstLine);
        for (const BlockNode &node : MarkdownParser::parse(planning))
            QVERIFY2(starts.contains(node.sourceLine()), qPrintable(QString::number(node.sourceLine())));
    }

    void costlyTextsFallBackWithoutBlockMarks_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<BlockDiffResult::Outcome>("outcome");
        QByteArray many;
        QByteArray manyChanged;
        for (int i = 0; i < 20000; ++i) {
            many += "Paragraph " + QByteArray::number(i) + ".\n\n";
            manyChanged += "Paragraph " + QByteArray::number(i * 7 + 1) + " changed.\n\n";
        }
        QTest::addRow("every block changed")
            << many << manyChanged << BlockDiffResult::Outcome::tooManyChanges;
        const QByteArray giant(200'000, 'x');
        QTest::addRow("one giant line") << QByteArray("a\n") + giant << QByteArray("b\n") + giant
                                        << BlockDiffResult::Outcome::lineTooLong;
        QTest::addRow("not UTF-8") << QByteArray("text\n") << QByteArray("text \xff\xfe\n")
                                   << BlockDiffResult::Outcome::notText;
        QTest::addRow("binary") << QByteArray("text\n") << QByteArray("te\0xt\n", 6)
                                << BlockDiffResult::Outcome::notText;
        QTest::addRow("larger than the preview renders")
            << QByteArray("text\n") << QByteArray(9 << 20, '\n') << BlockDiffResult::Outcome::textTooLarge;
    }

    void costlyTextsFallBackWithoutBlockMarks()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(BlockDiffResult::Outcome, outcome);
        const BlockDiffResult result = BlockDiff::compareBytes(before, after);
        QCOMPARE(result.outcome, outcome);
        QVERIFY(!result.hasBlockMarks());
        QVERIFY(result.changes.isEmpty());
    }

    void aByteOrderMarkIsNotAChange()
    {
        const BlockDiffResult result = BlockDiff::compareBytes("\xef\xbb\xbf# Title\n", "# Title\n");
        QCOMPARE(result.outcome, BlockDiffResult::Outcome::identical);
    }
};

QTEST_GUILESS_MAIN(TestBlockDiff)
#include "tst_blockdiff.moc"
