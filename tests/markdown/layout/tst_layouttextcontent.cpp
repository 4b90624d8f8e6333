// A text node's content keeps the positions of its runs, links and pictures right once very
// long words got break opportunities, and reads, searches and selects words as the reader
// sees the text, without those breaks.
#include "markdown/layout/nodes/layouttextcontent_p.h"
#include "markdown/layout/text/layoutfontcache_p.h"
#include "markdown/layout/text/longwordsplitter_p.h"

#include <QtTest>

using namespace kestrune;

namespace {

TextAttributes linkTo(const QString &url)
{
    TextAttributes attributes;
    attributes.link = QUrl(url);
    return attributes;
}

} // namespace

class TestLayoutTextContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLongWordIsReadSearchedAndSelectedWhole()
    {
        const QString word = QString(LongWordSplitter::longestRun * 2, QLatin1Char('x'));
        StyledText styled;
        styled.append(QStringLiteral("see "), {});
        styled.append(word, {});
        styled.append(QStringLiteral(" then\nlink"), {});
        styled.append(QStringLiteral(" here"), linkTo(QStringLiteral("https://example.org")));
        LayoutFontCache fonts;
        const LayoutTextContent content(styled, fonts, 1);

        QVERIFY(!content.insertedBreaks.empty());
        QCOMPARE(content.length(), int(styled.text.size() + content.insertedBreaks.size()));
        QVERIFY(content.isInsertedBreak(content.insertedBreaks.front()));
        QCOMPARE(content.plainText(0, -1), styled.text);
        QCOMPARE(content.wordAt(4 + 10),
                 std::make_pair(4, 4 + int(word.size() + content.insertedBreaks.size())));

        // The link's run starts after the breaks; a match spans them.
        const int linkStart = content.length() - 5;
        QCOMPARE(content.linkAtPosition(linkStart),
                 std::optional<QUrl>(QUrl(QStringLiteral("https://example.org"))));
        QCOMPARE(content.linkAtPosition(linkStart - 1), std::nullopt);
        const QList<std::pair<int, int>> matches = content.findMatches(SearchPattern(word));
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches.front(), std::make_pair(4, linkStart - 10));
        QCOMPARE(content.findMatches(SearchPattern(QStringLiteral("here"))).front(),
                 std::make_pair(linkStart + 1, linkStart + 5));
    }

    // Neighbouring runs with the same link make one link; a picture takes its placeholder,
    // which reads as nothing.
    void linksJoinAndPicturesTakeTheirPlaceholder()
    {
        StyledText styled;
        styled.append(QStringLiteral("one"), linkTo(QStringLiteral("https://a.example")));
        TextAttributes bold = linkTo(QStringLiteral("https://a.example"));
        FontProperties boldFont;
        boldFont.weight = QFont::Bold;
        bold.fontProperties = boldFont;
        styled.append(QStringLiteral("two"), bold);
        QImage picture(20, 10, QImage::Format_ARGB32);
        styled.appendImage(QStringLiteral("p.png"), picture, {});
        LayoutFontCache fonts;
        const LayoutTextContent content(styled, fonts, 2);
        QCOMPARE(content.links.size(), 1);
        QCOMPARE(content.links.front().length, 6);
        QCOMPARE(content.images.size(), 1);
        QCOMPARE(content.images.front().position, 7); // after a break opportunity
        QCOMPARE(content.images.front().size, QSizeF(10, 5));
        QCOMPARE(content.plainText(0, -1), QStringLiteral("onetwo"));
        QVERIFY(!content.formats.isEmpty()); // the bold run and the picture's width
    }
};

QTEST_MAIN(TestLayoutTextContent)
#include "tst_layouttextcontent.moc"
