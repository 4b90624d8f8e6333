#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownjsonwriter.h"
#include "markdown/document/markdownparser.h"
#include "modelbuilders.h"

#include <QRegularExpression>
#include <QTest>

using namespace kestrune;

using namespace Build;

class TestMarkdownRenderBack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendersModel_data();
    void rendersModel();
    void roundTripsThroughCommonMark_data();
    void roundTripsThroughCommonMark();
    void rendersModelsDeeperThanTheParserMakes();
    void coloursCodeInHtmlOnRequest();
};

void TestMarkdownRenderBack::rendersModel_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QString>("commonMark");
    QTest::addColumn<QString>("plainText");
    QTest::addColumn<QString>("html");

    QTest::addRow("empty document") << ""
                                    << "\n"
                                    << "\n"
                                    << "";
    QTest::addRow("every item of a task list carries its box")
        << "- [x] done\n- plain\n"
        << "- [x] done\n- [ ] plain\n"
        << "- [x] done\n- [ ] plain\n"
        << "<ul>\n<li><input type=\"checkbox\" checked=\"\" disabled=\"\" /> done</li>\n"
           "<li><input type=\"checkbox\" disabled=\"\" /> plain</li>\n</ul>\n";
    QTest::addRow("ordered list keeps its start")
        << "3. three\n4. four\n"
        << "3.  three\n4.  four\n"
        << "3.  three\n4.  four\n"
        << "<ol start=\"3\">\n<li>three</li>\n<li>four</li>\n</ol>\n";
    QTest::addRow("table keeps alignments and its header row")
        << "| a | b |\n|:-:|--:|\n| 1 | 2 |\n"
        << "| a | b |\n| :-: | --: |\n| 1 | 2 |\n"
        << "| a | b |\n| :-: | --: |\n| 1 | 2 |\n"
        << "<table>\n<thead>\n<tr>\n<th align=\"center\">a</th>\n<th align=\"right\">b</th>\n"
           "</tr>\n</thead>\n<tbody>\n<tr>\n<td align=\"center\">1</td>\n"
           "<td align=\"right\">2</td>\n</tr>\n</tbody>\n</table>\n";
    QTest::addRow("fenced code keeps its language")
        << "```swift\nlet x\n```\n"
        << "``` swift\nlet x\n```\n"
        << "let x\n"
        << "<pre><code class=\"language-swift\">let x\n</code></pre>\n";
    QTest::addRow("inline kinds and long lines are not wrapped")
        << "~~old~~ *em* **strong** `code` [link](https://x.test/) " + QString("word ").repeated(40) + "end\n"
        << "~~old~~ *em* **strong** `code` [link](https://x.test/) " + QString("word ").repeated(40) + "end\n"
        << "~old~ em strong code link " + QString("word ").repeated(40) + "end\n"
        << "<p><del>old</del> <em>em</em> <strong>strong</strong> <code>code</code> "
           "<a href=\"https://x.test/\">link</a> " +
               QString("word ").repeated(40) + "end</p>\n";
    QTest::addRow("hard and soft breaks") << "one  \ntwo\nthree\n"
                                          << "one  \ntwo\nthree\n"
                                          << "one\ntwo\nthree\n"
                                          << "<p>one<br />\ntwo\nthree</p>\n";
    QTest::addRow("html output leaves raw html and unsafe links out")
        << "<script>alert(1)</script>\n\n[x](javascript:alert(1)) <b>b</b>\n"
        << "<script>alert(1)</script>\n\n[x](javascript:alert\\(1\\)) <b>b</b>\n"
        << "x b\n"
        << "<!-- raw HTML omitted -->\n<p><a href=\"\">x</a> <!-- raw HTML omitted -->b"
           "<!-- raw HTML omitted --></p>\n";
    QTest::addRow("footnotes link both ways and gather in one section")
        << "One[^a] two[^b] again[^a].\n\n[^b]: Bee\n\n[^a]: Ay\n\n    more\n"
        << "One[^a] two[^b] again[^a].\n\n[^a]: Ay\n\n    more\n\n[^b]: Bee\n"
        << "One[1] two[2] again[1].\n\n[1] Ay\n\nmore\n\n[2] Bee\n"
        << "<p>One<sup class=\"footnote-ref\"><a href=\"#fn-a\" id=\"fnref-a\">1</a></sup> two"
           "<sup class=\"footnote-ref\"><a href=\"#fn-b\" id=\"fnref-b\">2</a></sup> again"
           "<sup class=\"footnote-ref\"><a href=\"#fn-a\" id=\"fnref-a-2\">1</a></sup>.</p>\n"
           "<section class=\"footnotes\">\n<ol>\n<li id=\"fn-a\">\n<p>Ay</p>\n"
           "<p>more <a href=\"#fnref-a\" class=\"footnote-backref\">\u21a9</a> "
           "<a href=\"#fnref-a-2\" class=\"footnote-backref\">\u21a9<sup "
           "class=\"footnote-ref\">2</sup></a></p>\n"
           "</li>\n<li id=\"fn-b\">\n<p>Bee <a href=\"#fnref-b\" class=\"footnote-backref\">\u21a9</a></p>\n"
           "</li>\n</ol>\n</section>\n";
    QTest::addRow("a note ending in a list gets its back-link after it")
        << "X[^1]\n\n[^1]: - a\n"
        << "X[^1]\n\n[^1]:   - a\n"
        << "X[1]\n\n[1]\n\n  - a\n"
        << "<p>X<sup class=\"footnote-ref\"><a href=\"#fn-1\" id=\"fnref-1\">1</a></sup></p>\n"
           "<section class=\"footnotes\">\n<ol>\n<li id=\"fn-1\">\n<ul>\n<li>a</li>\n</ul>\n"
           "<p><a href=\"#fnref-1\" class=\"footnote-backref\">\u21a9</a></p>\n</li>\n</ol>\n</section>\n";
    QTest::addRow("an alert is a titled callout")
        << "> [!warning]\n> Mind the *step*.\n>\n> Twice.\n"
        << "> [!WARNING]\n> Mind the *step*.\n> \n> Twice.\n"
        << "Warning\n\nMind the step.\n\nTwice.\n"
        << "<div class=\"markdown-alert markdown-alert-warning\">\n<p "
           "class=\"markdown-alert-title\">Warning</p>\n"
           "<p>Mind the <em>step</em>.</p>\n<p>Twice.</p>\n</div>\n";
    QTest::addRow("an alert that opens with a list")
        << "> [!NOTE]\n> - a\n"
        << "> [!NOTE]\n> \n>   - a\n"
        << "Note\n\n  - a\n"
        << "<div class=\"markdown-alert markdown-alert-note\">\n<p class=\"markdown-alert-title\">Note</p>\n"
           "<ul>\n<li>a</li>\n</ul>\n</div>\n";
}

void TestMarkdownRenderBack::rendersModel()
{
    QFETCH(QString, markdown);
    QFETCH(QString, commonMark);
    QFETCH(QString, plainText);
    QFETCH(QString, html);

    const MarkdownContent content(markdown);
    QCOMPARE(content.renderCommonMark(), commonMark);
    QCOMPARE(content.renderPlainText(), plainText);
    QCOMPARE(content.renderHtml(), html);
}

void TestMarkdownRenderBack::roundTripsThroughCommonMark_data()
{
    QTest::addColumn<QString>("markdown");

    QTest::addRow("specification-like document")
        << "# Spec\n\n## ADDED Requirements\n\n### Requirement: Login\n\nThe system SHALL "
           "*allow* **login**.\n\n#### Scenario: ok\n\n- **WHEN** a user\n- **THEN** it works\n";
    QTest::addRow("nested lists of every kind")
        << "1. one\n   - [x] done\n   - [ ] todo\n2. two\n\n     code\n";
    QTest::addRow("quotes around lists and tables")
        << "> - a\n>\n> | x | y |\n> |---|:-:|\n> | 1 | ~~2~~ |\n";
    QTest::addRow("html and breaks") << "<div>\nraw\n</div>\n\ntext<br>more  \nline\n\n---\n";
    QTest::addRow("images inside links") << "[![alt](a.png)](https://x.test/) ![b](b.png \"t\")\n";
    QTest::addRow("escaped characters") << "\\*not em\\* 1\\. \\# \\| \\[x\\]\n";
    QTest::addRow("footnotes with nested content")
        << "A[^x] b[^y]\n\n[^x]: First\n\n    > quoted\n    >\n    > - item\n\n[^y]: Second **one**\n";
    QTest::addRow("every alert kind, nested too")
        << "> [!NOTE]\n> n\n\n> [!TIP]\n> t\n\n> [!IMPORTANT]\n> i\n\n- > [!WARNING]\n  > w\n\n"
           "> > [!CAUTION]\n> > c\n\n> [!FOO]\n> plain\n";
}

void TestMarkdownRenderBack::roundTripsThroughCommonMark()
{
    QFETCH(QString, markdown);
    const MarkdownContent parsed(markdown);
    const MarkdownContent reparsed(parsed.renderCommonMark());
    QCOMPARE(MarkdownJsonWriter::toJsonText(reparsed.blocks), MarkdownJsonWriter::toJsonText(parsed.blocks));
}

void TestMarkdownRenderBack::rendersModelsDeeperThanTheParserMakes()
{
    // A hand-made model may nest deeper than a parsed one; the tree for the
    // renderer is still built without recursion.
    const MarkdownContent deep({nestedQuotes(2000, paragraph("innermost"))});
    const QString html = deep.renderHtml();
    QCOMPARE(html.count(QLatin1String("<blockquote>")), 2000);
    QVERIFY(html.contains(QLatin1String("<p>innermost</p>")));
}

void TestMarkdownRenderBack::coloursCodeInHtmlOnRequest()
{
    const MarkdownContent content(
        QStringLiteral("```TS {title}\nconst a = \"<b>\" && 1; // x & y\n```\n\n"
                       "```\nconst plain = \"<i>\";\n```\n\n"
                       "```mermaid\ngraph TD; A-->B\n```\n\n<pre><code>raw</code></pre>\n"));
    const QString plain = content.renderHtml();
    QCOMPARE(content.renderHtml(MarkdownContent::HtmlCode::plain), plain);

    const QString coloured = content.renderHtml(MarkdownContent::HtmlCode::coloured);
    QVERIFY2(coloured.contains(
                 QLatin1String("<pre><code class=\"language-TS\"><span class=\"code-keyword\">const</span>")),
             qPrintable(coloured));
    QVERIFY(coloured.contains(QLatin1String("<span class=\"code-string\">&quot;&lt;b&gt;&quot;</span>")));
    QVERIFY(coloured.contains(QLatin1String("<span class=\"code-comment\">// x &amp; y</span>")));
    // Code without a language, or in one without a grammar, and everything around the code
    // blocks is as before: taking the runs out gives the plain HTML back.
    QString runsRemoved = coloured;
    runsRemoved.remove(QRegularExpression(QStringLiteral("<span class=\"code-[a-z-]+\">|</span>")));
    QCOMPARE(runsRemoved, plain);
}

QTEST_GUILESS_MAIN(TestMarkdownRenderBack)

#include "tst_markdownrenderback.moc"
