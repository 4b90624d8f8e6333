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
};

void TestMarkdownMemory::pooledStringsMatchDecodedText()
{
    // Short, non-ASCII, invalid, empty and longer-than-pooled text, over enough
    // strings to fill several blocks.
    const QList<QByteArray> samples = {
        "word",
        "gr\xc3\xbc\xc3\x9f"
        "e",
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

QTEST_GUILESS_MAIN(TestMarkdownMemory)
#include "tst_markdownmemory.moc"
