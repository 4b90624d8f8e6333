// A long text fed in pieces gives the blocks, and the lines they start on, that parsing it
// whole gives, whatever its line endings.
#include "markdown/document/markdownparser.h"
#include "markdown/layout/view/incrementalmarkdownfeed_p.h"

#include <QtTest>

using namespace kestrune;

namespace {

// Every block a feed gives, in order; the height scale seen before each piece, too.
QList<BlockNode> feedAll(IncrementalMarkdownFeed &feed, QList<qreal> *scales = nullptr)
{
    QList<BlockNode> blocks;
    while (feed.hasMore()) {
        if (scales)
            scales->append(feed.heightScale());
        const std::optional<QList<BlockNode>> piece = feed.parseNext();
        if (!piece)
            break;
        blocks += *piece;
    }
    return blocks;
}

QList<int> sourceLines(const QList<BlockNode> &blocks)
{
    QList<int> lines;
    for (const BlockNode &block : blocks)
        lines.append(block.sourceLine());
    return lines;
}

} // namespace

class TestIncrementalMarkdownFeed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void piecesGiveTheBlocksAndLinesOfTheWholeText_data()
    {
        QTest::addColumn<QString>("lineEnd");
        QTest::addColumn<bool>("split"); // whether the text is known to be cut into pieces
        QTest::addRow("line feeds") << QStringLiteral("\n") << true;
        QTest::addRow("carriage returns and line feeds") << QStringLiteral("\r\n") << true;
        QTest::addRow("carriage returns") << QStringLiteral("\r") << false;
    }

    void piecesGiveTheBlocksAndLinesOfTheWholeText()
    {
        QFETCH(QString, lineEnd);
        QFETCH(bool, split);
        QString text;
        for (int i = 0; text.size() < 600 * 1024; ++i) {
            text += QStringLiteral("# Heading %1").arg(i) + lineEnd + lineEnd;
            text += QStringLiteral("A paragraph of section %1,").arg(i) + lineEnd +
                    QStringLiteral("on two lines.") + lineEnd + lineEnd;
        }
        IncrementalMarkdownFeed feed(text);
        QList<qreal> scales;
        const QList<BlockNode> fed = feedAll(feed, &scales);
        const QList<BlockNode> whole = MarkdownParser::parse(text);
        if (split)
            QVERIFY(scales.size() > 2);
        QCOMPARE(fed.size(), whole.size());
        QCOMPARE(sourceLines(fed), sourceLines(whole));
        QVERIFY(fed == whole);
    }

    // The page's height is estimated from the share of the text parsed: more than the parsed
    // part while pieces are left, the parsed part once all are in.
    void heightScaleFollowsTheShareParsed()
    {
        const QString text = QStringLiteral("# Section\n\nSome words in a paragraph.\n\n").repeated(30000);
        IncrementalMarkdownFeed feed(text);
        QCOMPARE(feed.heightScale(), 1.0); // nothing parsed yet
        QVERIFY(feed.parseNext());
        const qreal afterFirst = feed.heightScale();
        QVERIFY(afterFirst > 2);
        QVERIFY(feed.parseNext());
        QVERIFY(feed.heightScale() < afterFirst);
        feedAll(feed);
        QVERIFY(!feed.hasMore());
        QCOMPARE(feed.heightScale(), 1.0);
        QVERIFY(!feed.parseNext());
    }

    void aShortTextIsOnePiece()
    {
        IncrementalMarkdownFeed feed(QStringLiteral("# Title\n\nText.\n"));
        const std::optional<QList<BlockNode>> blocks = feed.parseNext();
        QVERIFY(blocks);
        QCOMPARE(blocks->size(), 2);
        QVERIFY(!feed.hasMore());
        QVERIFY(!IncrementalMarkdownFeed().hasMore());
    }
};

QTEST_MAIN(TestIncrementalMarkdownFeed)
#include "tst_incrementalmarkdownfeed.moc"
