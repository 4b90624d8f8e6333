#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownconverter_p.h"
#include "markdown/document/markdownjsonwriter.h"
#include "markdown/document/markdownparser.h"
#include "modelbuilders.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

using namespace kestrune;

using namespace Build;

Q_DECLARE_METATYPE(QList<BlockNode>)

namespace {

// Deepest nesting of container blocks and of container inlines in a model.
struct Depth
{
    int blocks = 0;
    int inlines = 0;
};

void measureInlines(const QList<InlineNode> &inlines, int depth, Depth &result)
{
    for (const InlineNode &node : inlines) {
        if (const QList<InlineNode> *children = node.children()) {
            result.inlines = std::max(result.inlines, depth + 1);
            measureInlines(*children, depth + 1, result);
        }
    }
}

void measureBlocks(const QList<BlockNode> &blocks, int depth, Depth &result)
{
    for (const BlockNode &block : blocks) {
        if (const QList<InlineNode> *inlines = block.inlines())
            measureInlines(*inlines, 0, result);
        if (const auto *quote = block.as<Block::Blockquote>()) {
            result.blocks = std::max(result.blocks, depth + 1);
            measureBlocks(quote->children, depth + 1, result);
        }
        auto items = [&](const auto &list) {
            result.blocks = std::max(result.blocks, depth + 1);
            for (const auto &item : list.items)
                measureBlocks(item.children, depth + 1, result);
        };
        if (const auto *list = block.as<Block::BulletedList>())
            items(*list);
        if (const auto *list = block.as<Block::NumberedList>())
            items(*list);
        if (const auto *list = block.as<Block::TaskList>())
            items(*list);
        if (const auto *table = block.as<Block::Table>()) {
            for (const RawTableRow &row : table->rows)
                for (const RawTableCell &cell : row.cells)
                    measureInlines(cell.content, 0, result);
        }
    }
}

QString repeated(const char *piece, int count)
{
    return QString::fromUtf8(piece).repeated(count);
}

// A node kind of our own that may hold anything and reports the type string
// stored in its user data, so a test can build tree shapes the parser never
// produces.
cmark_syntax_extension *shapeShifter()
{
    static cmark_syntax_extension *extension = [] {
        cmark_syntax_extension *made = cmark_syntax_extension_new("test-shape-shifter");
        cmark_syntax_extension_set_get_type_string_func(made, [](cmark_syntax_extension *, cmark_node *node) {
            return static_cast<const char *>(cmark_node_get_user_data(node));
        });
        cmark_syntax_extension_set_can_contain_func(
            made, [](cmark_syntax_extension *, cmark_node *, cmark_node_type) { return 1; });
        return made;
    }();
    return extension;
}

cmark_node *shapeShifted(const char *typeString)
{
    static const cmark_node_type type = cmark_syntax_extension_add_node(0);
    cmark_node *node = cmark_node_new_with_ext(type, shapeShifter());
    cmark_node_set_user_data(node, const_cast<char *>(typeString));
    return node;
}

cmark_node *paragraphNode(const char *value)
{
    cmark_node *paragraph = cmark_node_new(CMARK_NODE_PARAGRAPH);
    cmark_node *text = cmark_node_new(CMARK_NODE_TEXT);
    cmark_node_set_literal(text, value);
    cmark_node_append_child(paragraph, text);
    return paragraph;
}

// Each case runs in a child process, which must stop with the matching message.
int runMalformedTree(const QByteArray &name)
{
    Cmark::ensureExtensionsRegistered();
    Cmark::NodePtr document(cmark_node_new(CMARK_NODE_DOCUMENT));
    cmark_node *node = nullptr;
    if (name == "unknown-type") {
        node = shapeShifted("mystery");
    } else if (name == "untyped-list") {
        node = shapeShifted("list");
        cmark_node_append_child(node, cmark_node_new(CMARK_NODE_ITEM));
    } else if (name == "list-child") {
        node = shapeShifted("list");
        cmark_node_append_child(node, paragraphNode("x"));
    } else if (name == "table-child") {
        node = shapeShifted("table");
        cmark_node_append_child(node, paragraphNode("x"));
    } else if (name == "row-child") {
        node = shapeShifted("table");
        cmark_node *row = shapeShifted("table_row");
        cmark_node_append_child(row, cmark_node_new(CMARK_NODE_THEMATIC_BREAK));
        cmark_node_append_child(node, row);
    } else {
        return 2;
    }
    cmark_node_append_child(document.get(), node);
    MarkdownConverter::convertDocument(document.get());
    return 0;
}

} // namespace

class TestMarkdownParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsBlocks_data();
    void convertsBlocks();
    void convertsInlines_data();
    void convertsInlines();
    void convertsFootnotes_data();
    void convertsFootnotes();
    void recognisesAlerts_data();
    void recognisesAlerts();
    void survivesDeepNesting_data();
    void survivesDeepNesting();
    void keepsShallowNesting();
    void keepsTextNodesApart();
    void recordsTheLineEachBlockStartsOn();
    void stopsOnMalformedTrees_data();
    void stopsOnMalformedTrees();
};

void TestMarkdownParser::convertsBlocks_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QList<BlockNode>>("expected");

    QTest::addRow("empty text yields no blocks") << QString() << QList<BlockNode>{};
    QTest::addRow("blank lines yield no blocks") << "\n\n   \n" << QList<BlockNode>{};

    QTest::addRow("checked task item and plain item make one task list")
        << "- [x] done\n- plain\n"
        << QList<BlockNode>{
               Block::TaskList{true, {{true, {paragraph("done")}}, {false, {paragraph("plain")}}}}};

    QTest::addRow("ordered list keeps its start number")
        << "3. three\n4. four\n"
        << QList<BlockNode>{Block::NumberedList{true, 3, {{{paragraph("three")}}, {{paragraph("four")}}}}};

    QTest::addRow("loose bullet list is not tight")
        << "- a\n\n- b\n"
        << QList<BlockNode>{Block::BulletedList{false, {{{paragraph("a")}}, {{paragraph("b")}}}}};

    QTest::addRow("indented code block has an empty fence info")
        << "    let x = 1\n"
        << QList<BlockNode>{Block::CodeBlock{QString(""), "let x = 1\n"}};

    QTest::addRow("fenced code block keeps its info word and final line feed")
        << "```swift\nlet x = 1\n\n```\n"
        << QList<BlockNode>{Block::CodeBlock{QString("swift"), "let x = 1\n\n"}};

    QTest::addRow("bare fence has an empty fence info")
        << "~~~\n  indented *text*\n~~~\n"
        << QList<BlockNode>{Block::CodeBlock{QString(""), "  indented *text*\n"}};

    QTest::addRow("table keeps alignments and puts the header first")
        << "| a | b | c | d |\n|:--|:-:|--:|---|\n| 1 | 2 | 3 | 4 |\n"
        << QList<BlockNode>{
               Block::Table{{RawTableColumnAlignment::left, RawTableColumnAlignment::center,
                             RawTableColumnAlignment::right, RawTableColumnAlignment::none},
                            {RawTableRow{{{{text("a")}}, {{text("b")}}, {{text("c")}}, {{text("d")}}}},
                             RawTableRow{{{{text("1")}}, {{text("2")}}, {{text("3")}}, {{text("4")}}}}}}};

    QTest::addRow("heading keeps its level")
        << "### Requirement: Sign-in\n"
        << QList<BlockNode>{Block::Heading{3, {text("Requirement: Sign-in")}}};

    QTest::addRow("block quote holds its blocks")
        << "> quoted\n>\n> ---\n"
        << QList<BlockNode>{Block::Blockquote{{paragraph("quoted"), Block::ThematicBreak{}}}};

    QTest::addRow("html block is kept verbatim")
        << "<div>\n*x*\n</div>\n"
        << QList<BlockNode>{Block::HtmlBlock{"<div>\n*x*\n</div>\n"}};

    QTest::addRow("task items nest blocks")
        << "- [ ] outer\n  - inner\n"
        << QList<BlockNode>{Block::TaskList{
               true, {{false, {paragraph("outer"), Block::BulletedList{true, {{{paragraph("inner")}}}}}}}}};

    QTest::addRow("footnote syntax stays text") << "See [^1].\n" << QList<BlockNode>{paragraph("See [^1].")};
    QTest::addRow("unmatched delimiters stay text") << "a *b ]c ![d\n"
                                                    << QList<BlockNode>{paragraph("a *b ]c ![d")};
}

void TestMarkdownParser::convertsBlocks()
{
    QFETCH(QString, markdown);
    QFETCH(QList<BlockNode>, expected);
    const QList<BlockNode> actual = MarkdownParser::parse(markdown);
    QCOMPARE(MarkdownJsonWriter::toJsonText(actual), MarkdownJsonWriter::toJsonText(expected));
    QVERIFY(actual == expected);
    QCOMPARE(MarkdownParser::parseUtf8(markdown.toUtf8()), expected);
}

void TestMarkdownParser::convertsInlines_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QList<InlineNode>>("expected");

    QTest::addRow("double tildes strike through")
        << "~~gone~~" << QList<InlineNode>{Inline::Strikethrough{{text("gone")}}};
    QTest::addRow("bare web address becomes a link")
        << "see www.example.com now"
        << QList<InlineNode>{text("see "), Inline::Link{"http://www.example.com", {text("www.example.com")}},
                             text(" now")};
    QTest::addRow("two trailing spaces make a line break")
        << "one  \ntwo" << QList<InlineNode>{text("one"), Inline::LineBreak{}, text("two")};
    QTest::addRow("plain line end makes a soft break")
        << "one\ntwo" << QList<InlineNode>{text("one"), Inline::SoftBreak{}, text("two")};
    QTest::addRow("emphasis inside strong inside a link")
        << "[**a *b***](https://x.test/)"
        << QList<InlineNode>{Inline::Link{"https://x.test/",
                                          {Inline::Strong{{text("a "), Inline::Emphasis{{text("b")}}}}}}};
    QTest::addRow("image keeps its source and alternative text")
        << "![a *logo*](img/logo.png)"
        << QList<InlineNode>{Inline::Image{"img/logo.png", {text("a "), Inline::Emphasis{{text("logo")}}}}};
    QTest::addRow("code span and raw html keep their literals")
        << "`a  b` <span class=\"x\">"
        << QList<InlineNode>{Inline::Code{"a  b"}, text(" "), Inline::Html{"<span class=\"x\">"}};
    QTest::addRow("non-ASCII text survives") << "Grüße, 日本 🎉" << QList<InlineNode>{text("Grüße, 日本 🎉")};
}

void TestMarkdownParser::convertsInlines()
{
    QFETCH(QString, markdown);
    QFETCH(QList<InlineNode>, expected);
    const QList<BlockNode> blocks = MarkdownParser::parse(markdown);
    QCOMPARE(blocks.size(), 1);
    QVERIFY(blocks.first().as<Block::Paragraph>());
    QCOMPARE(MarkdownJsonWriter::inlinesToJson(*blocks.first().inlines()),
             MarkdownJsonWriter::inlinesToJson(expected));
    QVERIFY(*blocks.first().inlines() == expected);
}

namespace {

BlockNode note(const char *label, int number, QList<BlockNode> children)
{
    return Block::FootnoteDefinition{QString::fromUtf8(label), number, std::move(children)};
}

InlineNode reference(const char *label, int number)
{
    return Inline::FootnoteReference{QString::fromUtf8(label), number};
}

BlockNode alert(AlertKind kind, QList<BlockNode> children)
{
    return Block::Blockquote{std::move(children), kind};
}

} // namespace

void TestMarkdownParser::convertsFootnotes_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QList<BlockNode>>("expected");

    QTest::addRow("notes are numbered and gathered at the end in the order of their first reference")
        << "[^b]: Bee\n\nOne[^a] two[^b] three[^a].\n\n[^a]: Ay\n"
        << QList<BlockNode>{paragraph({text("One"), reference("a", 1), text(" two"), reference("b", 2),
                                       text(" three"), reference("a", 1), text(".")}),
                            note("a", 1, {paragraph("Ay")}), note("b", 2, {paragraph("Bee")})};
    QTest::addRow("a note nobody refers to is dropped")
        << "Text[^used].\n\n[^unused]: Never shown\n[^used]: Shown\n"
        << QList<BlockNode>{paragraph({text("Text"), reference("used", 1), text(".")}),
                            note("used", 1, {paragraph("Shown")})};
    QTest::addRow("a reference to a missing note stays text")
        << "See [^nothing] and[^x].\n\n[^x]: X\n"
        << QList<BlockNode>{paragraph({text("See [^nothing] and"), reference("x", 1), text(".")}),
                            note("x", 1, {paragraph("X")})};
    QTest::addRow("a note holds blocks and inlines of any kind")
        << "A[^long-label].\n\n[^long-label]: First *line*\n\n    - item\n\n    > quoted\n"
        << QList<BlockNode>{paragraph({text("A"), reference("long-label", 1), text(".")}),
                            note("long-label", 1,
                                 {paragraph({text("First "), Inline::Emphasis{{text("line")}}}),
                                  Block::BulletedList{true, {{{paragraph("item")}}}},
                                  Block::Blockquote{{paragraph("quoted")}}})};
    QTest::addRow("references inside links, lists and tables")
        << "- item[^n]\n\n| h |\n|---|\n| c[^n] |\n\n[^n]: N\n"
        << QList<BlockNode>{
               Block::BulletedList{true, {{{paragraph({text("item"), reference("n", 1)})}}}},
               Block::Table{{RawTableColumnAlignment::none},
                            {RawTableRow{{{{text("h")}}}}, RawTableRow{{{{text("c"), reference("n", 1)}}}}}},
               note("n", 1, {paragraph("N")})};
}

void TestMarkdownParser::convertsFootnotes()
{
    QFETCH(QString, markdown);
    QFETCH(QList<BlockNode>, expected);
    const QList<BlockNode> actual = MarkdownParser::parse(markdown);
    QCOMPARE(MarkdownJsonWriter::toJsonText(actual), MarkdownJsonWriter::toJsonText(expected));
    QVERIFY(actual == expected);
}

void TestMarkdownParser::recognisesAlerts_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QList<BlockNode>>("expected");

    QTest::addRow("note") << "> [!NOTE]\n> Read this.\n"
                          << QList<BlockNode>{alert(AlertKind::note, {paragraph("Read this.")})};
    QTest::addRow("tip") << "> [!TIP]\n> Try this.\n"
                         << QList<BlockNode>{alert(AlertKind::tip, {paragraph("Try this.")})};
    QTest::addRow("important") << "> [!IMPORTANT]\n> Mind this.\n"
                               << QList<BlockNode>{alert(AlertKind::important, {paragraph("Mind this.")})};
    QTest::addRow("warning") << "> [!WARNING]\n> Careful.\n"
                             << QList<BlockNode>{alert(AlertKind::warning, {paragraph("Careful.")})};
    QTest::addRow("caution") << "> [!CAUTION]\n> Danger.\n"
                             << QList<BlockNode>{alert(AlertKind::caution, {paragraph("Danger.")})};
    QTest::addRow("the marker ignores case")
        << "> [!wArNiNg]\n> Careful.\n"
        << QList<BlockNode>{alert(AlertKind::warning, {paragraph("Careful.")})};
    QTest::addRow("the body may span paragraphs and hold any block")
        << "> [!NOTE]\n>\n> One *two*\n> three\n>\n> - item\n"
        << QList<BlockNode>{alert(AlertKind::note, {paragraph({text("One "), Inline::Emphasis{{text("two")}},
                                                               Inline::SoftBreak{}, text("three")}),
                                                    Block::BulletedList{true, {{{paragraph("item")}}}}})};
    QTest::addRow("a marker alone makes an alert without body")
        << "> [!TIP]\n"
        << QList<BlockNode>{alert(AlertKind::tip, {})};
    QTest::addRow("text after the marker on its line makes a plain quote")
        << "> [!NOTE] Read this.\n"
        << QList<BlockNode>{Block::Blockquote{{paragraph("[!NOTE] Read this.")}}};
    QTest::addRow("an unknown marker makes a plain quote")
        << "> [!FOO]\n> Text\n"
        << QList<BlockNode>{
               Block::Blockquote{{paragraph({text("[!FOO]"), Inline::SoftBreak{}, text("Text")})}}};
    QTest::addRow("a marker below the first line makes a plain quote")
        << "> Text\n> [!NOTE]\n"
        << QList<BlockNode>{
               Block::Blockquote{{paragraph({text("Text"), Inline::SoftBreak{}, text("[!NOTE]")})}}};
    QTest::addRow("an alert inside a list item")
        << "- > [!CAUTION]\n  > Hot.\n"
        << QList<BlockNode>{Block::BulletedList{true, {{{alert(AlertKind::caution, {paragraph("Hot.")})}}}}};
    QTest::addRow("an alert inside a quote")
        << "> > [!IMPORTANT]\n> > Inner.\n"
        << QList<BlockNode>{Block::Blockquote{{alert(AlertKind::important, {paragraph("Inner.")})}}};
}

void TestMarkdownParser::recognisesAlerts()
{
    QFETCH(QString, markdown);
    QFETCH(QList<BlockNode>, expected);
    const QList<BlockNode> actual = MarkdownParser::parse(markdown);
    QCOMPARE(MarkdownJsonWriter::toJsonText(actual), MarkdownJsonWriter::toJsonText(expected));
    QVERIFY(actual == expected);
}

void TestMarkdownParser::survivesDeepNesting_data()
{
    QTest::addColumn<QString>("markdown");

    const int n = 100000;
    QTest::addRow("100,000 nested block quotes") << repeated(">", n) + " innermost\n";
    QTest::addRow("100,000 nested bullet items") << repeated("- ", n) + "innermost\n";
    QTest::addRow("100,000 nested ordered items") << repeated("1. ", n) + "innermost\n";
    QTest::addRow("100,000 nested task items") << repeated("- [ ] ", n) + "innermost\n";
    QTest::addRow("quotes and lists interleaved") << repeated("> - ", n / 2) + "innermost\n";
    QTest::addRow("100,000 emphasis markers") << repeated("*", n) + "innermost" + repeated("*", n);
    QTest::addRow("50,000 nested strong runs")
        << repeated("**a ", n / 2) + "innermost" + repeated(" a**", n / 2);
    QTest::addRow("50,000 nested strike-throughs")
        << repeated("~~a ", n / 2) + "innermost" + repeated(" a~~", n / 2);
    QTest::addRow("20,000 nested images") << repeated("![", 20000) + "innermost" + repeated("](u)", 20000);
    QTest::addRow("100,000 open brackets") << repeated("[", n) + "innermost" + repeated("](u)", n);
    QTest::addRow("deep quotes inside a table cell")
        << "| a |\n|---|\n| " + repeated("*", 10000) + "innermost" + repeated("*", 10000) + " |\n";
}

void TestMarkdownParser::survivesDeepNesting()
{
    QFETCH(QString, markdown);
    const MarkdownContent content(markdown);

    Depth depth;
    measureBlocks(content.blocks, 0, depth);
    QVERIFY2(depth.blocks <= MarkdownParser::maxBlockDepth, qPrintable(QString::number(depth.blocks)));
    QVERIFY2(depth.inlines <= MarkdownParser::maxInlineDepth, qPrintable(QString::number(depth.inlines)));

    // Flattening keeps the text: the innermost words are still there.
    QVERIFY(content.renderPlainText().contains(QLatin1String("innermost")));
    QVERIFY(content.renderHtml().contains(QLatin1String("innermost")));
    const MarkdownContent copy = content; // copies share, comparing walks
    QCOMPARE(copy, content);
}

void TestMarkdownParser::keepsShallowNesting()
{
    // Up to the bound nothing is flattened.
    const int depth = MarkdownParser::maxBlockDepth;
    const QList<BlockNode> blocks = MarkdownParser::parse(repeated("> ", depth) + "x\n");
    QCOMPARE(blocks, QList<BlockNode>{nestedQuotes(depth, paragraph("x"))});

    // One level more: the innermost quote gives way to its content.
    const QList<BlockNode> deeper = MarkdownParser::parse(repeated("> ", depth + 1) + "x\n");
    QCOMPARE(deeper, blocks);

    const QString emphasis = repeated("*", 2 * MarkdownParser::maxInlineDepth);
    Depth measured;
    measureBlocks(MarkdownParser::parse(emphasis + "x" + emphasis), 0, measured);
    QCOMPARE(measured.inlines, MarkdownParser::maxInlineDepth);
}

void TestMarkdownParser::keepsTextNodesApart()
{
    // cmark-gfm joins neighbouring text itself; the conversion takes whatever
    // nodes it gets one for one, white space included.
    Cmark::NodePtr document(cmark_node_new(CMARK_NODE_DOCUMENT));
    cmark_node *paragraph = paragraphNode(" a ");
    cmark_node *second = cmark_node_new(CMARK_NODE_TEXT);
    cmark_node_set_literal(second, "  b\t");
    cmark_node_append_child(paragraph, second);
    cmark_node_append_child(document.get(), paragraph);

    const QList<BlockNode> expected{Build::paragraph({text(" a "), text("  b\t")})};
    QCOMPARE(MarkdownConverter::convertDocument(document.get()), expected);
}

// Every block knows the line it starts on, lines ending at LF, CR or CR LF as the parser reads
// them; a piece of a longer text counts from its first line. Where a block starts is not part of
// what it is.
void TestMarkdownParser::recordsTheLineEachBlockStartsOn()
{
    const QString markdown = QStringLiteral("# Title\r\rFirst\r\nparagraph\n\n- one\n\n  nested\n- two\n\n"
                                            "| a |\n|---|\n| b |\n\n```\ncode\n```\n");
    for (const int first : {0, 100}) {
        const QList<BlockNode> blocks =
            first == 0 ? MarkdownParser::parse(markdown) : MarkdownParser::parse(markdown, first);
        QList<int> lines;
        for (const BlockNode &block : blocks)
            lines.append(block.sourceLine() - first);
        QCOMPARE(lines, (QList<int>{0, 2, 5, 10, 14}));
        const auto *list = blocks.at(2).as<Block::BulletedList>();
        QVERIFY(list);
        QCOMPARE(list->items.at(0).children.at(1).sourceLine(), first + 7);
        QCOMPARE(list->items.at(1).children.at(0).sourceLine(), first + 8);
    }
    QCOMPARE(MarkdownParser::parse(QStringLiteral("\n\nText")),
             MarkdownParser::parse(QStringLiteral("Text")));
    QCOMPARE(Build::paragraph("a").sourceLine(), -1);
}

void TestMarkdownParser::stopsOnMalformedTrees_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("message");

    QTest::addRow("node type outside the model") << "unknown-type"
                                                 << "Unknown node type 'mystery' found.";
    QTest::addRow("list without a list type") << "untyped-list"
                                              << "cmark reported a list node without a list type.";
    QTest::addRow("list holding a paragraph") << "list-child"
                                              << "Expected a list item but got a 'paragraph' instead.";
    QTest::addRow("table holding a paragraph") << "table-child"
                                               << "Expected a table row but got a 'paragraph' instead.";
    QTest::addRow("row holding a thematic break")
        << "row-child"
        << "Expected a table cell but got a 'thematic_break' instead.";
}

void TestMarkdownParser::stopsOnMalformedTrees()
{
    QFETCH(QString, tree);
    QFETCH(QString, message);

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--convert-malformed-tree", tree});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY2(child.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--convert-malformed-tree") == 0)
        return runMalformedTree(argv[2]);

    QCoreApplication app(argc, argv);
    TestMarkdownParser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_markdownparser.moc"
