#include "markdown/document/cmarkarena_p.h"
#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownparser.h"
#include "markdown/document/sharedstringpool_p.h"

#include <QFuture>
#include <QtConcurrent>
#include <QTest>

#include <cstring>
#include <limits>
#include <new>

using namespace kestrune;

class TestMarkdownMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pooledStringsMatchDecodedText();
    void pooledStringsStayApartWhenChanged();
    void arenaGrowsKeepsAndClears();
    void arenaParsesAsTheDefaultAllocatorDoes();
    void parsesOnManyThreadsAtOnce();
    void parseBeyondItsBudgetFailsAndLeavesNothing();
    void arenaReusesWhatIsFreed();
    void largeDocumentsFitTheirBudget_data();
    void largeDocumentsFitTheirBudget();
    void runawayTableIsRefused();
    void budgetIsBoundByPhysicalMemory();
};

namespace {

// A table of `rows` rows under a header of `columns` columns; each row has between one and
// `longestRow` cells, so the parser pads most rows out to the header's width.
QByteArray raggedTable(int columns, int rows, int longestRow)
{
    QByteArray text = "|";
    for (int column = 0; column < columns; ++column)
        text += " c" + QByteArray::number(column) + " |";
    text += "\n|" + QByteArray("---|").repeated(columns) + '\n';
    quint32 seed = 7;
    for (int row = 0; row < rows; ++row) {
        seed = seed * 1103515245U + 12345U;
        const int cells = 1 + int((seed >> 16) % quint32(longestRow));
        text += '|';
        for (int cell = 0; cell < cells; ++cell)
            text += " r" + QByteArray::number(row) + 'c' + QByteArray::number(cell) + "x |";
        text += '\n';
    }
    return text;
}

// Short paragraphs of little else than emphasis, code spans and links.
QByteArray denseInlines(qsizetype size)
{
    QByteArray text;
    text.reserve(size + 64);
    for (int paragraph = 0; text.size() < size; ++paragraph)
        text += "P" + QByteArray::number(paragraph % 100) + " *em* `c` [l](u) **b** `d`.\n\n";
    return text;
}

} // namespace

void TestMarkdownMemory::pooledStringsMatchDecodedText()
{
    // Short, non-ASCII, invalid, empty and longer-than-pooled text, over enough
    // strings to fill several blocks.
    const QList<QByteArray> samples = {
        "word",
        "gr\u00fc\u00dfe", // UTF-8: the execution character set
        "\xf0\x9f\x98\x80 emoji",
        "bad \xff byte",
        "",
        QByteArray(5000, 'x'),
        QByteArray(40, 'y') + "\xe2\x80\xa8",
    };
    QList<QString> made;
    QList<QString> expected;
    {
        SharedStringPool pool;
        for (int round = 0; round < 2000; ++round) {
            for (const QByteArray &sample : samples) {
                made.append(pool.fromUtf8(sample.constData(), sample.size()));
                expected.append(QString::fromUtf8(sample));
            }
        }
    } // the strings outlive the pool
    QCOMPARE(made, expected);
    for (const QString &string : std::as_const(made)) {
        // Qt expects a string's data to end in a null.
        QCOMPARE(string.utf16()[string.size()], u'\0');
    }
}

void TestMarkdownMemory::pooledStringsStayApartWhenChanged()
{
    SharedStringPool pool;
    QString first = pool.fromUtf8("first", 5);
    const QString second = pool.fromUtf8("second", 6);
    first.append(u" and more text than was ever reserved");
    first[0] = u'F';
    QCOMPARE(first, u"First and more text than was ever reserved");
    QCOMPARE(second, u"second");

    // The last holder of a block may change its string in place.
    QString alone;
    {
        SharedStringPool other;
        alone = other.fromUtf8("alone", 5);
    }
    alone.append(u'!');
    alone.prepend(u'?');
    QCOMPARE(alone, u"?alone!");
}

void TestMarkdownMemory::arenaGrowsKeepsAndClears()
{
    CmarkArena arena(std::numeric_limits<std::size_t>::max());
    cmark_mem *memory = arena.allocator();

    // The latest allocation grows, in place or by moving, keeping its bytes.
    char *buffer = static_cast<char *>(memory->realloc(nullptr, 16));
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the 16 bytes alone
    std::memcpy(buffer, "0123456789abcdef", 16);
    for (std::size_t size = 32; size <= (std::size_t(8) << 20); size *= 2) {
        buffer = static_cast<char *>(memory->realloc(buffer, size));
        QCOMPARE(QByteArray(buffer, 16), QByteArray("0123456789abcdef"));
        std::memset(buffer + 16, 'z', size - 16);
    }

    // An older allocation grows by moving.
    char *older = static_cast<char *>(memory->calloc(1, 24));
    std::memcpy(older, "older", 6);
    memory->calloc(1, 8);
    older = static_cast<char *>(memory->realloc(older, 4096));
    QCOMPARE(QByteArray(older), QByteArray("older"));

    // Memory handed back and handed out again reads as zero through calloc.
    char *dirty = static_cast<char *>(memory->calloc(1, 64));
    std::memset(dirty, 0x5a, 64);
    memory->free(dirty);
    const char *clean = static_cast<char *>(memory->calloc(8, 8));
    QCOMPARE(clean, dirty);
    QCOMPARE(QByteArray(clean, 64), QByteArray(64, '\0'));

    // Larger than any block.
    char *huge = static_cast<char *>(memory->calloc(1, std::size_t(100) << 20));
    QCOMPARE(huge[(std::size_t(100) << 20) - 1], '\0');
}

void TestMarkdownMemory::arenaParsesAsTheDefaultAllocatorDoes()
{
    QByteArray text;
    for (int section = 0; section < 300; ++section) {
        text += "## Requirement: " + QByteArray::number(section) +
                "\n\nThe system *SHALL* ["
                "link](https://example.org/" +
                QByteArray::number(section) +
                ") ~~gone~~ `code`.\n\n"
                "- [x] done\n- [ ] open\n\n| a | b |\n|:-|-:|\n| 1 | 2 |\n\n```c\nint x;\n```\n\n> quote\n";
    }
    // The model from a parse in the arena equals the model built from a tree
    // the default allocator made.
    Cmark::ParserPtr parser = Cmark::newParser();
    cmark_parser_feed(parser.get(), text.constData(), std::size_t(text.size()));
    const Cmark::NodePtr tree(cmark_parser_finish(parser.get()));
    const Cmark::BufferPtr html(cmark_render_html(tree.get(), CMARK_OPT_DEFAULT, nullptr));

    const QList<BlockNode> blocks = MarkdownParser::parseUtf8(text);
    QCOMPARE(blocks.size(), 300 * 6);
    QCOMPARE(MarkdownContent(blocks).renderHtml(), QString::fromUtf8(html.get()));
}

// A parse that needs more memory than it may take ends in std::bad_alloc thrown out of the
// parser, not in an abort; the arena returns everything (the leak checker would say otherwise),
// and the next parse on the same thread works as before.
void TestMarkdownMemory::parseBeyondItsBudgetFailsAndLeavesNothing()
{
    const QByteArray text = QByteArray("- item with *emphasis* and `code`\n").repeated(100000);
    bool failed = false;
    try {
        MarkdownParser::parseUtf8(text, std::size_t(8) << 20);
    } catch (const std::bad_alloc &) {
        failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(MarkdownParser::parseUtf8(text).size(), 1);
    QVERIFY(MarkdownParser::memoryBudget(text.size()) > std::size_t(20) * std::size_t(text.size()));

    CmarkArena arena(std::size_t(1) << 20);
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, arena.allocate(std::size_t(2) << 20));
    QVERIFY(arena.allocate(100) != nullptr);
}

void TestMarkdownMemory::parsesOnManyThreadsAtOnce()
{
    QList<QByteArray> texts;
    for (int index = 0; index < 16; ++index) {
        QByteArray text;
        for (int line = 0; line < 200 + index * 50; ++line)
            text += "Paragraph " + QByteArray::number(line) + " with **strong** text.\n\n";
        texts.append(text);
    }
    QList<QList<BlockNode>> sequential;
    for (const QByteArray &text : std::as_const(texts))
        sequential.append(MarkdownParser::parseUtf8(text));

    QThreadPool pool;
    pool.setMaxThreadCount(4);
    const QList<QList<BlockNode>> parallel = QtConcurrent::blockingMapped(
        &pool, texts, [](const QByteArray &text) { return MarkdownParser::parseUtf8(text); });
    QCOMPARE(parallel, sequential);
}

// Freed room comes back: a parser that allocates and frees in turn stays in its first block.
void TestMarkdownMemory::arenaReusesWhatIsFreed()
{
    CmarkArena arena(std::numeric_limits<std::size_t>::max());
    cmark_mem *memory = arena.allocator();
    // Each round keeps 24 bytes and frees 264; 20,000 rounds would take 5 MiB without reuse.
    for (int round = 0; round < 20000; ++round) {
        void *shortLived = memory->calloc(1, 40);
        memory->calloc(1, 16);    // kept
        memory->free(shortLived); // not the latest: waits for the next allocation of 40 bytes
        char *grown = static_cast<char *>(memory->realloc(nullptr, 24));
        memory->calloc(1, 8);                                     // kept
        grown = static_cast<char *>(memory->realloc(grown, 200)); // moves: the old room is freed
        memory->free(grown);
    }
    QCOMPARE(arena.mappedBytes(), std::size_t(2) << 20);

    // Reused room reads as zero through calloc and keeps the bytes it was given through realloc.
    auto *dirty = static_cast<char *>(memory->calloc(1, 64));
    memory->calloc(1, 8);
    std::memset(dirty, 0x5a, 64);
    memory->free(dirty);
    auto *clean = static_cast<char *>(memory->calloc(4, 16));
    QCOMPARE(clean, dirty);
    QCOMPARE(QByteArray(clean, 64), QByteArray(64, '\0'));
    std::memcpy(clean, "kept", 5);
    memory->calloc(1, 8);
    auto *moved = static_cast<char *>(memory->realloc(clean, 500));
    QCOMPARE(QByteArray(moved), QByteArray("kept"));
}

// Documents the parser must serve: their trees take far more than their text, and they parse
// within the budget for their length.
void TestMarkdownMemory::largeDocumentsFitTheirBudget_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("blockCount");
    QTest::addRow("1.9 MB table of 5,000 ragged rows under 300 columns") << raggedTable(300, 5000, 64) << 1;
    const QByteArray dense = denseInlines(qsizetype(10) << 20);
    QTest::addRow("10 MB of short paragraphs dense with inline markup") << dense << int(dense.count("\n\n"));
}

void TestMarkdownMemory::largeDocumentsFitTheirBudget()
{
    QFETCH(QByteArray, text);
    QFETCH(int, blockCount);
    QList<BlockNode> blocks;
    try {
        blocks = MarkdownParser::parseUtf8(text);
    } catch (const std::bad_alloc &) {
        QFAIL("refused as needing more memory");
    }
    QCOMPARE(blocks.size(), blockCount);
    if (const auto *table = blocks.first().as<Block::Table>()) {
        QCOMPARE(table->rows.size(), 5001);
        QCOMPARE(table->rows.last().cells.size(), 300); // padded to the header's width
    }
}

// A few kilobytes that would pad 16 million cells (gigabytes of tree) are refused by a
// std::bad_alloc soon after the budget is spent, not by the system running out of memory.
void TestMarkdownMemory::runawayTableIsRefused()
{
    const QByteArray text = raggedTable(4000, 4000, 1);
    QVERIFY(text.size() < 100000);
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, MarkdownParser::parseUtf8(text));
    QCOMPARE(MarkdownParser::parseUtf8(raggedTable(4, 4000, 1)).size(), 1);
}

void TestMarkdownMemory::budgetIsBoundByPhysicalMemory()
{
    const std::size_t gigabyte = std::size_t(1) << 30;
    QCOMPARE(MarkdownParser::memoryBudget(0, 16 * gigabyte), MarkdownParser::budgetBase);
    QCOMPARE(MarkdownParser::memoryBudget(qsizetype(10) << 20, 16 * gigabyte),
             MarkdownParser::budgetBase + MarkdownParser::budgetPerByte * (std::size_t(10) << 20));
    QCOMPARE(MarkdownParser::memoryBudget(qsizetype(64) << 20, 16 * gigabyte), 4 * gigabyte);
    QCOMPARE(MarkdownParser::memoryBudget(qsizetype(10) << 20, 2 * gigabyte), gigabyte / 2);
    QCOMPARE(MarkdownParser::memoryBudget(std::numeric_limits<qsizetype>::max(), 0),
             std::numeric_limits<std::size_t>::max());
}

QTEST_GUILESS_MAIN(TestMarkdownMemory)
#include "tst_markdownmemory.moc"
