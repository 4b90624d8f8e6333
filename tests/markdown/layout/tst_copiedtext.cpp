// What a copy puts on the clipboard: the selected text as a reader reads it and as Markdown,
// with lists, tasks, tables, code and quotes kept, for whole documents and partial selections;
// a page whose far blocks are parked copies the same as one that holds them all.
#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutnodedisposal_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

#include <QtTest>

using namespace kestrune;

namespace {

struct Page
{
    LayoutDocument document;

    explicit Page(const QString &markdown, const MarkdownEnvironment &environment = {})
    {
        document.setEnvironment(environment);
        document.setWidth(600);
        document.setBlocks(MarkdownParser::parse(markdown));
        document.layoutAll();
    }

    int textCount() const { return document.textCount(); }
    const LayoutTextNode &text(int index) const { return *document.textNode(index); }
    int indexOf(const QString &text) const
    {
        for (int index = 0; index < textCount(); ++index) {
            if (this->text(index).plainText() == text)
                return index;
        }
        return -1;
    }
};

// Every kind of block a copy writes, long enough to fill many screens, with pictures among them
// (a block with one is never parked) and words long enough to be given break opportunities.
QString mixedDocument()
{
    const QString longWord = QStringLiteral("x").repeated(1300);
    const QString restyledWord = QStringLiteral("a*b*").repeated(60);
    const QString sections[] = {
        QStringLiteral(
            "# Heading *one*\n\nA paragraph with **strong**, `code`, [a link](https://example.org) "
            "and a note[^n].\n"),
        QStringLiteral("- one\n- two\n  - nested\n    1. deep\n- [x] done\n\n3. three\n4. four\n"),
        QStringLiteral("| Name | Count |\n|:-----|------:|\n| a \\| b | 2 |\n| *c* | `3` |\n"),
        QStringLiteral("```cpp\nint x = 1;\n\n  return x;\n```\n"),
        QStringLiteral("> [!WARNING]\n> Mind *this*.\n>\n> > nested quote\n"),
        QStringLiteral("Before ![inline](pic.png) after.\n\n![block](block.png)\n"),
        QStringLiteral("<div>\nraw html\n</div>\n"),
        QStringLiteral("A ") + longWord + QStringLiteral(" word, and ") + restyledWord +
            QStringLiteral(" too.\n"),
        QStringLiteral("***\n\nLine one  \nline two.\n"),
    };
    QString text;
    for (int round = 0; round < 6; ++round) {
        for (const QString &section : sections)
            text += section + QLatin1Char('\n');
    }
    return text + QStringLiteral("[^n]: The *note*.\n\n    More of it.\n");
}

// A theme that adds a selectable and an unselectable text around headings and code.
MarkdownEnvironment decoratedEnvironment()
{
    MarkdownEnvironment environment;
    environment.theme.headings[0] = [](const BlockConfiguration &c) {
        return BlockView::vstack({c.label, BlockView::text(QStringLiteral("\u00a7 section"))});
    };
    environment.theme.codeBlock = [](const CodeBlockConfiguration &c) {
        return BlockView::vstack({BlockView::text(c.language.value_or(QString())).unselectable(), c.label});
    };
    return environment;
}

} // namespace

class TestCopiedText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiesWholeDocuments_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("plainText");
        QTest::addColumn<QString>("copiedMarkdown");

        QTest::addRow("nested lists keep markers and indentation")
            << "- one\n- two\n  - nested\n    1. deep\n    2. deeper\n- three\n"
            << "• one\n• two\n  • nested\n    1. deep\n    2. deeper\n• three"
            << "- one\n- two\n  - nested\n    1. deep\n    2. deeper\n- three";
        QTest::addRow("numbered lists count from their start") << "7. seven\n8. eight\n"
                                                               << "7. seven\n8. eight"
                                                               << "7. seven\n8. eight";
        QTest::addRow("task items keep their boxes") << "- [x] done\n- [ ] to do\n"
                                                     << "[x] done\n[ ] to do"
                                                     << "- [x] done\n- [ ] to do";
        QTest::addRow("loose items and their second paragraphs") << "- first\n\n  more of it\n- second\n"
                                                                 << "• first\n  more of it\n• second"
                                                                 << "- first\n\n  more of it\n\n- second";
        QTest::addRow("tables are tab-separated rows and pipe tables")
            << "| Name | Count |\n|:-----|------:|\n| a \\| b | 2 |\n| *c* | `3` |\n"
            << "Name\tCount\na | b\t2\nc\t3"
            << "| Name | Count |\n| :-- | --: |\n| a \\| b | 2 |\n| *c* | `3` |";
        QTest::addRow("code blocks keep their lines and get a fence")
            << "```cpp\nint x = 1;\n\n  return x;\n```\n"
            << "int x = 1;\n\n  return x;"
            << "```cpp\nint x = 1;\n\n  return x;\n```";
        QTest::addRow("a fence longer than the backticks inside") << "~~~\nuse ``` here\n~~~\n"
                                                                  << "use ``` here"
                                                                  << "````\nuse ``` here\n````";
        QTest::addRow("headings, emphasis and links")
            << "## Title\n\nSome *emphasis*, **strong** and [a link](https://example.org).\n"
            << "Title\nSome emphasis, strong and a link."
            << "## Title\n\nSome *emphasis*, **strong** and [a link](https://example.org).";
        QTest::addRow("quotes") << "> one\n>\n> - item\n"
                                << "one\n• item"
                                << "> one\n>\n> - item";
        QTest::addRow("footnotes keep their references and labels")
            << "A claim[^src].\n\n[^src]: The *source*.\n\n    More.\n"
            << "A claim\u00b9.\n1. The source.\nMore. \u21a9"
            << "A claim[^src].\n\n[^src]: The *source*.\n\n    More.";
        QTest::addRow("alerts keep their marker, and their title in plain text")
            << "> [!TIP]\n> Try *this*.\n>\n> - item\n"
            << "Tip\nTry this.\n• item"
            << "> [!TIP]\n> Try *this*.\n>\n> - item";
        QTest::addRow("code inside a list item") << "1. run\n\n   ```sh\n   make\n   ```\n"
                                                 << "1. run\n   make"
                                                 << "1. run\n\n   ```sh\n   make\n   ```";
    }

    void copiesWholeDocuments()
    {
        QFETCH(QString, markdown);
        QFETCH(QString, plainText);
        QFETCH(QString, copiedMarkdown);
        Page page(markdown);
        const CopiedText copied = page.document.copiedText(page.document.allText());
        QCOMPARE(copied.plainText, plainText);
        QCOMPARE(copied.markdown, copiedMarkdown);
        QCOMPARE(page.document.text(page.document.allText()), plainText);
        // What is copied as Markdown reads back as the same document.
        QCOMPARE(MarkdownParser::parse(copied.markdown), MarkdownParser::parse(markdown));
    }

    void partialSelections()
    {
        Page page(QStringLiteral("- alpha *beta*\n- gamma\n\n| A | B | C |\n|---|---|---|\n| 1 | 2 | 3 |\n"
                                 "| 4 | 5 | 6 |\n"));
        const int alpha = page.indexOf(QStringLiteral("alpha beta"));
        const int gamma = page.indexOf(QStringLiteral("gamma"));
        QVERIFY(alpha >= 0 && gamma > alpha);

        // Within one text: the text itself, no markers; Markdown escapes what would be markup.
        CopiedText copied = page.document.copiedText({alpha, 2, alpha, 10});
        QCOMPARE(copied.plainText, QStringLiteral("pha beta"));
        QCOMPARE(copied.markdown, QStringLiteral("pha beta"));

        // From inside an item: no marker for the item the selection starts in, one for the next.
        copied = page.document.copiedText({alpha, 6, gamma, 5});
        QCOMPARE(copied.plainText, QStringLiteral("beta\n• gamma"));
        QCOMPARE(copied.markdown, QStringLiteral("beta\n- gamma"));

        // From the middle of a table row: the columns stay where they are.
        const int two = page.indexOf(QStringLiteral("2"));
        const int six = page.indexOf(QStringLiteral("6"));
        copied = page.document.copiedText({two, 0, six, 1});
        QCOMPARE(copied.plainText, QStringLiteral("\t2\t3\n4\t5\t6"));
        QCOMPARE(copied.markdown, QStringLiteral("|  | 2 | 3 |\n| --- | --- | --- |\n| 4 | 5 | 6 |"));
    }

    void escapesPartialTextsInMarkdown()
    {
        Page page(QStringLiteral("Keep 1. *this* and_that [x]\n"));
        QCOMPARE(page.textCount(), 1);
        const CopiedText copied = page.document.copiedText({0, 5, 0, page.text(0).length()});
        QCOMPARE(copied.plainText, QStringLiteral("1. this and_that [x]"));
        QCOMPARE(copied.markdown, QStringLiteral("1\\. this and\\_that \\[x\\]"));
    }

    // Screen readers read the page's plain text; each text's place in it is known.
    void plainTextMapLocatesEveryText()
    {
        Page page(QStringLiteral("# Head\n\n- a\n  - b\n\n| x | y |\n|---|---|\n| 1 | 2 |\n\n> quoted\n"));
        const LayoutDocument::PlainTextMap map = page.document.plainTextMap();
        QCOMPARE(map.text, page.document.text(page.document.allText()));
        QCOMPARE(int(map.nodeStarts.size()), page.textCount());
        for (int index = 0; index < page.textCount(); ++index) {
            const QString text = page.text(index).plainText();
            QCOMPARE(map.text.mid(map.nodeStarts[size_t(index)], text.size()), text);
        }
    }

    // Parked blocks are copied from their blocks, not built again: the copies are the same as
    // those of a page holding all its nodes, whole or in part, and no node is made or freed.
    void parkedBlocksCopyAsBuiltOnes_data()
    {
        QTest::addColumn<bool>("decorated");
        QTest::addRow("default theme") << false;
        QTest::addRow("theme adding texts") << true;
    }

    void parkedBlocksCopyAsBuiltOnes()
    {
        QFETCH(bool, decorated);
        const QString markdown = mixedDocument();
        const MarkdownEnvironment environment = decorated ? decoratedEnvironment() : MarkdownEnvironment();
        Page built(markdown, environment);
        Page parked(markdown, environment);
        parked.document.setResidentRange(-2, -1);
        const int parkedBlocks = parked.document.parkedBlockCount();
        QVERIFY(parkedBlocks > parked.document.blockCount() / 2);
        QVERIFY(parkedBlocks < parked.document.blockCount()); // those with pictures stay
        QTRY_COMPARE(LayoutNodeDisposal::pending(), std::size_t(0));

        LayoutDocument &page = parked.document;
        const LayoutSelection all = page.allText();
        QCOMPARE(all.endOffset, built.document.allText().endOffset);
        const CopiedText copied = page.copiedText(all);
        const CopiedText expected = built.document.copiedText(built.document.allText());
        QVERIFY(copied.plainText.contains(QStringLiteral("\u00a7 section")) == decorated);
        QCOMPARE(copied.plainText, expected.plainText);
        QCOMPARE(copied.markdown, expected.markdown);
        QCOMPARE(page.text(all), built.document.text(all));
        const LayoutDocument::PlainTextMap map = page.plainTextMap();
        const LayoutDocument::PlainTextMap expectedMap = built.document.plainTextMap();
        QCOMPARE(map.text, expectedMap.text);
        QVERIFY(map.nodeStarts == expectedMap.nodeStarts);

        // From inside one text to inside another, the long words' inserted breaks counted.
        const int count = page.textCount();
        for (const auto &[start, end] : {std::pair(1, count - 2), std::pair(count / 3, count / 2)}) {
            const int startLength = built.text(start).length();
            const int endLength = built.text(end).length();
            const LayoutSelection part{start, startLength / 2, end, endLength - endLength / 3};
            const CopiedText partial = page.copiedText(part);
            const CopiedText expectedPartial = built.document.copiedText(part);
            QCOMPARE(partial.plainText, expectedPartial.plainText);
            QCOMPARE(partial.markdown, expectedPartial.markdown);
        }
        for (const int text : {count / 4, count - 1}) {
            const LayoutSelection within{text, 1, text, built.text(text).length() - 1};
            QCOMPARE(page.copiedText(within).markdown, built.document.copiedText(within).markdown);
        }
        int wordText = 0;
        while (wordText < count &&
               !built.text(wordText).plainText().contains(QStringLiteral("x").repeated(1300)))
            ++wordText;
        QVERIFY(wordText < count);
        const LayoutSelection inWord{wordText, 700, wordText, built.text(wordText).length() - 20};
        QVERIFY(built.text(wordText).length() > built.text(wordText).plainText().size());
        QCOMPARE(page.copiedText(inWord).plainText, built.document.copiedText(inWord).plainText);

        // The copy of a parked code block.
        int codeBlocks = 0;
        for (int text = 0; text < count; ++text) {
            const std::optional<int> code = built.document.codeBlockOfText(text);
            if (!code)
                continue;
            ++codeBlocks;
            const CopiedText block = page.codeBlockText(*code);
            QCOMPARE(block.markdown, built.document.codeBlockText(*code).markdown);
            QCOMPARE(block.plainText, QStringLiteral("int x = 1;\n\n  return x;"));
        }
        QCOMPARE(codeBlocks, 6);

        QCOMPARE(page.parkedBlockCount(), parkedBlocks);
        QCOMPARE(LayoutNodeDisposal::pending(), std::size_t(0));
    }
};

QTEST_MAIN(TestCopiedText)
#include "tst_copiedtext.moc"
