#include "markdown/document/htmltag.h"
#include "markdown/document/inlinecontent.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownjsonwriter.h"
#include "markdown/document/nodetype_p.h"
#include "modelbuilders.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

using namespace kestrune;

using namespace Build;

class TestMarkdownModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognisesHtmlTags_data();
    void recognisesHtmlTags();
    void comparesAndHashesByStructure_data();
    void comparesAndHashesByStructure();
    void copiesShareChildren();
    void nodeTypesRoundTripTheirTypeStrings();
    void matchesGoldenModels_data();
    void matchesGoldenModels();
};

void TestMarkdownModel::recognisesHtmlTags_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<std::optional<QString>>("name");

    QTest::addRow("opening tag") << "<span class=\"x\">" << std::optional<QString>("span");
    QTest::addRow("self-closing line break") << "<br/>" << std::optional<QString>("br");
    QTest::addRow("closing tag in capitals keeps its case") << "</BR>" << std::optional<QString>("BR");
    QTest::addRow("first of several tags") << "<b><i>" << std::optional<QString>("b");
    QTest::addRow("comment has no tag") << "<!-- note -->" << std::optional<QString>();
    QTest::addRow("processing instruction has no tag") << "<?php x ?>" << std::optional<QString>();
    QTest::addRow("unclosed tag has no name") << "<br" << std::optional<QString>();
    QTest::addRow("text has no tag") << "a < b > c" << std::optional<QString>();
}

void TestMarkdownModel::recognisesHtmlTags()
{
    QFETCH(QString, fragment);
    QFETCH(std::optional<QString>, name);
    QCOMPARE(HTMLTag::name(fragment), name);
}

void TestMarkdownModel::comparesAndHashesByStructure_data()
{
    QTest::addColumn<MarkdownContent>("left");
    QTest::addColumn<MarkdownContent>("right");
    QTest::addColumn<bool>("equal");

    const auto doc = [](QList<BlockNode> blocks) { return MarkdownContent(std::move(blocks)); };

    QTest::addRow("same text parsed twice")
        << MarkdownContent("# T\n\n- [x] a\n\n| a |\n|---|\n| *b* |\n")
        << MarkdownContent("# T\n\n- [x] a\n\n| a |\n|---|\n| *b* |\n") << true;
    QTest::addRow("absent and empty fence info differ")
        << doc({Block::CodeBlock{std::nullopt, "x"}}) << doc({Block::CodeBlock{QString(""), "x"}}) << false;
    QTest::addRow("emphasis and strong differ") << doc({paragraph({Inline::Emphasis{{text("a")}}})})
                                                << doc({paragraph({Inline::Strong{{text("a")}}})}) << false;
    QTest::addRow("text and code with one string differ")
        << doc({paragraph({text("a")})}) << doc({paragraph({Inline::Code{"a"}})}) << false;
    QTest::addRow("split text differs from joined text")
        << doc({paragraph({text("ab")})}) << doc({paragraph({text("a"), text("b")})}) << false;
    QTest::addRow("list start matters") << MarkdownContent("1. a\n") << MarkdownContent("2. a\n") << false;
    QTest::addRow("tightness matters")
        << MarkdownContent("- a\n- b\n") << MarkdownContent("- a\n\n- b\n") << false;
    QTest::addRow("task state matters")
        << MarkdownContent("- [x] a\n") << MarkdownContent("- [ ] a\n") << false;
    QTest::addRow("column alignment matters")
        << MarkdownContent("| a |\n|:--|\n") << MarkdownContent("| a |\n|--:|\n") << false;
}

void TestMarkdownModel::comparesAndHashesByStructure()
{
    QFETCH(MarkdownContent, left);
    QFETCH(MarkdownContent, right);
    QFETCH(bool, equal);

    QCOMPARE(left == right, equal);
    if (equal)
        QCOMPARE(qHash(left), qHash(right));
    else
        QCOMPARE_NE(qHash(left), qHash(right)); // not guaranteed in general, true for these rows
    const QSet<MarkdownContent> set{left, right};
    QCOMPARE(set.size(), equal ? 1 : 2);
}

void TestMarkdownModel::copiesShareChildren()
{
    const MarkdownContent content(QString("> quote\n").repeated(1000));
    const auto *quote = content.blocks.first().as<Block::Blockquote>();
    QVERIFY(quote);

    const BlockNode copy = content.blocks.first();
    // The child list is shared, not duplicated.
    QCOMPARE(copy.as<Block::Blockquote>()->children.constData(), quote->children.constData());
    const InlineContent inlines(*quote->children.first().inlines());
    QCOMPARE(inlines.inlines.constData(), quote->children.first().inlines()->constData());
}

void TestMarkdownModel::nodeTypesRoundTripTheirTypeStrings()
{
    const QList<std::pair<NodeType, std::string_view>> samples{
        {NodeType::document, "document"},          {NodeType::blockquote, "block_quote"},
        {NodeType::html, "html_inline"},           {NodeType::emphasis, "emph"},
        {NodeType::inlineAttributes, "attribute"}, {NodeType::none, "NONE"},
        {NodeType::unknown, "<unknown>"},          {NodeType::tableHead, "table_header"},
        {NodeType::taskListItem, "tasklist"}};
    for (const auto &[type, rawValue] : samples) {
        QCOMPARE(nodeTypeRawValue(type), rawValue);
        QCOMPARE(nodeTypeFromRawValue(rawValue), std::optional<NodeType>(type));
    }
    for (int value = 0; value <= int(NodeType::taskListItem); ++value) {
        const auto type = static_cast<NodeType>(value);
        QCOMPARE(nodeTypeFromRawValue(nodeTypeRawValue(type)), std::optional<NodeType>(type));
    }
    QCOMPARE(nodeTypeFromRawValue("footnote_reference"), std::nullopt);
    QCOMPARE(nodeTypeFromRawValue("Text"), std::nullopt);
}

void TestMarkdownModel::matchesGoldenModels_data()
{
    QTest::addColumn<QString>("markdownPath");

    const QDir golden(QStringLiteral(GOLDEN_DIR));
    const QStringList inputs = golden.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
    QVERIFY(!inputs.isEmpty());
    for (const QString &input : inputs)
        QTest::addRow("%s", qPrintable(input)) << golden.filePath(input);
}

void TestMarkdownModel::matchesGoldenModels()
{
    // The references are written by tests/markdown/golden/regenerate.sh; review
    // the diff when a change to the model is intended.
    QFETCH(QString, markdownPath);
    QFile markdown(markdownPath);
    QVERIFY(markdown.open(QIODevice::ReadOnly));
    QString jsonPath = markdownPath;
    jsonPath.replace(QLatin1String(".md"), QLatin1String(".json"));
    QFile expected(jsonPath);
    QVERIFY2(expected.open(QIODevice::ReadOnly), qPrintable(jsonPath));

    const MarkdownContent content(QString::fromUtf8(markdown.readAll()));
    QCOMPARE(QString::fromUtf8(MarkdownJsonWriter::toJsonText(content.blocks)),
             QString::fromUtf8(expected.readAll()));
}

QTEST_GUILESS_MAIN(TestMarkdownModel)

#include "tst_markdownmodel.moc"
