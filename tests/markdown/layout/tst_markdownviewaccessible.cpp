// The rendered page as assistive technology reads it through QAccessible: a named document
// whose text is the text the view copies, with its selection, caret, geometry and character
// attributes, and its headings, links and pictures as children that stay while their blocks do.
#include "testimageprovider.h"

#include "markdown/layout/style/theme.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewelementaccessible_p.h"

#include "ui/localization.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

using namespace kestrune;

namespace {

const QString sample = QStringLiteral("# Lantern notes\n\n"
                                      "Read the [guide](https://example.org/guide) before you start.\n\n"
                                      "- first item\n"
                                      "- second item\n\n"
                                      "![A lantern at dusk](lantern.png)\n\n"
                                      "## Details\n");

struct AccessibleFixture
{
    MarkdownView view;
    std::shared_ptr<TestImageProvider> images = std::make_shared<TestImageProvider>();
    QAccessibleInterface *document = nullptr;
    QAccessibleTextInterface *text = nullptr;

    explicit AccessibleFixture(const QString &markdown, QSize size = QSize(500, 400))
    {
        images->sizes.insert(QUrl(QStringLiteral("lantern.png")), QSize(40, 30));
        view.setImageProvider(images);
        view.setInlineImageProvider(images);
        view.setOpenLinks(false);
        view.setAccessibleName(QStringLiteral("notes.md"));
        view.resize(size);
        view.setMarkdown(markdown);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        document = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(document);
        text = document->textInterface();
        QVERIFY(text);
    }

    QString plainText()
    {
        view.selectAll();
        QString all = view.selectedText();
        view.clearSelection();
        return all;
    }

    QAccessibleInterface *childNamed(QAccessible::Role role, const QString &name) const
    {
        for (int index = 0; index < document->childCount(); ++index) {
            QAccessibleInterface *child = document->child(index);
            if (child && child->role() == role && child->text(QAccessible::Name) == name)
                return child;
        }
        return nullptr;
    }

    static std::pair<int, int> rangeOf(QAccessibleInterface *child)
    {
        return static_cast<MarkdownViewElementAccessible *>(child)->textRange();
    }
};

// A page of many blocks, each with a link, and a heading every tenth block.
QString longPage(int blocks)
{
    QStringList parts;
    for (int index = 0; index < blocks; ++index) {
        if (index % 10 == 0)
            parts.append(QStringLiteral("## Section %1").arg(index / 10));
        parts.append(QStringLiteral("Paragraph %1 points to [item %1](https://example.org/%1).").arg(index));
    }
    return parts.join(QLatin1String("\n\n"));
}

// The document's children as interfaces and ids.
struct HeldChildren
{
    QList<QAccessibleInterface *> interfaces;
    QList<QAccessible::Id> ids;
    QStringList names;

    explicit HeldChildren(QAccessibleInterface *document)
    {
        for (int index = 0; index < document->childCount(); ++index) {
            QAccessibleInterface *child = document->child(index);
            interfaces.append(child);
            ids.append(QAccessible::uniqueId(child));
            names.append(child->text(QAccessible::Name));
        }
    }
};

// Checks that the document still has the children held, at the same places.
void verifyStillHeld(QAccessibleInterface *document, const HeldChildren &held)
{
    QVERIFY(document->childCount() >= held.ids.size());
    for (qsizetype index = 0; index < held.ids.size(); ++index) {
        QAccessibleInterface *child = document->child(int(index));
        QVERIFY2(child == held.interfaces.at(index), qPrintable(held.names.at(index)));
        QCOMPARE(QAccessible::uniqueId(child), held.ids.at(index));
        QCOMPARE(QAccessible::accessibleInterface(held.ids.at(index)), held.interfaces.at(index));
        QCOMPARE(document->indexOfChild(child), int(index));
        QCOMPARE(child->text(QAccessible::Name), held.names.at(index));
        QVERIFY(child->isValid());
    }
}

// The attributes of the run around an offset, as "key:value;" pairs, and the run.
struct AttributeRun
{
    QHash<QString, QString> values;
    int start = -1;
    int end = -1;
};

AttributeRun attributesAt(QAccessibleTextInterface *text, int offset)
{
    AttributeRun run;
    const QString joined = text->attributes(offset, &run.start, &run.end);
    if (!joined.isEmpty() && !joined.endsWith(QLatin1Char(';')))
        qWarning("attributes do not end with a semicolon: %s", qPrintable(joined));
    for (const QString &pair : joined.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype colon = pair.indexOf(QLatin1Char(':'));
        run.values.insert(pair.left(colon), colon < 0 ? QString() : pair.mid(colon + 1));
    }
    return run;
}

qreal pointSize(const AttributeRun &run)
{
    const QString size = run.values.value(QStringLiteral("font-size"));
    return size.endsWith(QLatin1String("pt")) ? size.chopped(2).toDouble() : -1;
}

// What the view told assistive technology, while a test listens.
struct HeardEvent
{
    QAccessible::Event type = QAccessible::InvalidEvent;
    QAccessible::Id id = 0; // of a child made or gone
    int position = -1;      // a caret's offset, an insertion's place, a selection's start
    int end = -1;           // a selection's end
    QString text;           // what was inserted
};
QList<HeardEvent> heard;

void hear(QAccessibleEvent *event)
{
    HeardEvent record;
    record.type = event->type();
    if (event->type() == QAccessible::ObjectCreated || event->type() == QAccessible::ObjectDestroyed)
        record.id = event->uniqueId();
    if (event->type() == QAccessible::TextCaretMoved)
        record.position = static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
    if (event->type() == QAccessible::TextSelectionChanged) {
        const auto *selection = static_cast<QAccessibleTextSelectionEvent *>(event);
        record.position = selection->selectionStart();
        record.end = selection->selectionEnd();
    }
    if (event->type() == QAccessible::TextInserted) {
        const auto *insertion = static_cast<QAccessibleTextInsertEvent *>(event);
        record.position = insertion->changePosition();
        record.text = insertion->textInserted();
    }
    if (event->type() == QAccessible::TextUpdated)
        record.text = static_cast<QAccessibleTextUpdateEvent *>(event)->textInserted();
    heard.append(record);
}

// Listens to the events of accessibility while it lives.
struct Listening
{
    QAccessible::UpdateHandler previous;
    Listening() : previous(QAccessible::installUpdateHandler(hear))
    {
        heard.clear();
        QAccessible::setActive(true);
        // A platform with a bridge listens once the bridge reached the accessibility bus.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            Q_UNUSED(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000));
    }
    ~Listening()
    {
        QAccessible::installUpdateHandler(previous);
        QAccessible::setActive(false);
    }
    Listening(const Listening &) = delete;
    Listening &operator=(const Listening &) = delete;
};

} // namespace

class MarkdownViewAccessibleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localization::install(qApp, QLocale(QLocale::English)); }

    void theDocumentIsNamedReadOnlyAndReadsAsCopied()
    {
        AccessibleFixture fixture(sample);
        QCOMPARE(fixture.document->role(), QAccessible::Document);
        QCOMPARE(fixture.document->text(QAccessible::Name), QStringLiteral("notes.md"));
        const QAccessible::State state = fixture.document->state();
        QVERIFY(state.readOnly);
        QVERIFY(state.focusable);
        QVERIFY(state.selectableText);

        const QString copied = fixture.plainText();
        QVERIFY(copied.startsWith(QLatin1String("Lantern notes\nRead the guide before you start.")));
        QCOMPARE(fixture.text->text(0, -1), copied);
        QCOMPARE(fixture.text->characterCount(), copied.size());
        QCOMPARE(fixture.text->text(9, 14), copied.mid(9, 5));
    }

    void boundariesFindWordsParagraphsAndLines()
    {
        AccessibleFixture fixture(sample);
        const QString all = fixture.text->text(0, -1);
        const int guide = int(all.indexOf(QLatin1String("guide")));
        int start = -1;
        int end = -1;
        QCOMPARE(fixture.text->textAtOffset(guide + 2, QAccessible::WordBoundary, &start, &end),
                 QStringLiteral("guide"));
        QCOMPARE(start, guide);
        QCOMPARE(fixture.text->textAtOffset(guide, QAccessible::ParagraphBoundary, &start, &end),
                 QStringLiteral("Read the guide before you start.\n"));
        QCOMPARE(fixture.text->textAtOffset(guide, QAccessible::LineBoundary, &start, &end),
                 QStringLiteral("Read the guide before you start.\n"));
        // A list item reads with its marker, as it is copied.
        QCOMPARE(fixture.text->textAfterOffset(guide, QAccessible::ParagraphBoundary, &start, &end),
                 QStringLiteral("• first item\n"));
        QCOMPARE(fixture.text->textBeforeOffset(guide, QAccessible::ParagraphBoundary, &start, &end),
                 QStringLiteral("Lantern notes\n"));
        QCOMPARE(fixture.text->textAtOffset(guide, QAccessible::CharBoundary, &start, &end),
                 QStringLiteral("g"));

        // A paragraph wrapped on a narrow page reads line by line.
        AccessibleFixture narrow(QStringLiteral("one two three four five six seven eight nine ten"),
                                 QSize(120, 400));
        narrow.text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
        QCOMPARE(start, 0);
        QVERIFY(end > 0 && end < narrow.text->characterCount());
        narrow.text->textAtOffset(end, QAccessible::LineBoundary, &start, &end);
        QVERIFY(start > 0);
    }

    void selectionAndCaretGoBothWays()
    {
        AccessibleFixture fixture(sample);
        const QString all = fixture.text->text(0, -1);
        const int guide = int(all.indexOf(QLatin1String("guide")));
        QSignalSpy changed(&fixture.view, &MarkdownView::selectionChanged);
        fixture.text->setSelection(0, guide, guide + 5);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("guide"));
        QCOMPARE(fixture.text->selectionCount(), 1);

        // Across texts: the line feed between them is part of the selection. Selected from its
        // start, the first item is copied with its marker.
        const int item = int(all.indexOf(QLatin1String("first")));
        fixture.text->setSelection(0, item, item + 17);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("• ") + all.mid(item, 17));
        int selectionStart = -1;
        int selectionEnd = -1;
        fixture.text->selection(0, &selectionStart, &selectionEnd);
        QCOMPARE(selectionStart, item);
        QCOMPARE(selectionEnd, item + 17);

        fixture.view.selectAll();
        int start = -1;
        int end = -1;
        fixture.text->selection(0, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, all.size());
        QCOMPARE(fixture.text->cursorPosition(), all.size());

        fixture.text->removeSelection(0);
        QVERIFY(!fixture.view.hasSelection());
        QCOMPARE(fixture.text->selectionCount(), 0);

        fixture.text->setCursorPosition(guide + 1);
        QCOMPARE(fixture.text->cursorPosition(), guide + 1);
    }

    void charactersAndPointsRoundTrip()
    {
        AccessibleFixture fixture(sample);
        const int guide = int(fixture.text->text(0, -1).indexOf(QLatin1String("guide")));
        for (const int offset : {0, guide, guide + 3}) {
            const QRect character = fixture.text->characterRect(offset);
            QVERIFY2(character.width() > 1 && character.height() > 5, qPrintable(QString::number(offset)));
            const QRect shown(fixture.view.viewport()->mapToGlobal(QPoint(0, 0)),
                              fixture.view.viewport()->size());
            QVERIFY(shown.contains(character.center()));
            const QPoint inside(character.left() + character.width() / 4, character.center().y());
            QCOMPARE(fixture.text->offsetAtPoint(inside), offset);
        }
        // Later characters lie further right on the same line.
        QVERIFY(fixture.text->characterRect(guide + 1).left() > fixture.text->characterRect(guide).left());
    }

    // What is only drawn of notes and alerts (a note's number, an alert's title) is read; a
    // reference and a back-link are links that lead into the page.
    void notesAndAlertsReadTheirNumbersAndTitles()
    {
        AccessibleFixture fixture(
            QStringLiteral("> [!WARNING]\n> Hot surface.\n\nSee[^heat].\n\n[^heat]: Measured.\n"));
        const QString all = fixture.text->text(0, -1);
        QVERIFY2(all.startsWith(QLatin1String("Warning\nHot surface.\n")), qPrintable(all));
        QVERIFY2(all.contains(QLatin1String("1. Measured.")), qPrintable(all));
        QAccessibleInterface *reference = fixture.childNamed(QAccessible::Link, QStringLiteral("\u00b9"));
        QVERIFY(reference);
        QCOMPARE(reference->text(QAccessible::Value), QStringLiteral("#fn-heat"));
        QVERIFY(fixture.childNamed(QAccessible::Link, QStringLiteral("\u21a9")));
    }

    void headingsLinksAndPicturesAreChildren()
    {
        AccessibleFixture fixture(sample);
        const QString all = fixture.text->text(0, -1);

        QAccessibleInterface *title =
            fixture.childNamed(QAccessible::Heading, QStringLiteral("Lantern notes"));
        QVERIFY(title);
        QCOMPARE(AccessibleFixture::rangeOf(title), std::pair(0, 13));
        QCOMPARE(title->text(QAccessible::Description), QStringLiteral("Heading level 1"));
        QAccessibleInterface *details = fixture.childNamed(QAccessible::Heading, QStringLiteral("Details"));
        QVERIFY(details);
        QCOMPARE(details->text(QAccessible::Description), QStringLiteral("Heading level 2"));
        QCOMPARE(details->parent()->role(), QAccessible::Document);

        QAccessibleInterface *link = fixture.childNamed(QAccessible::Link, QStringLiteral("guide"));
        QVERIFY(link);
        const int guide = int(all.indexOf(QLatin1String("guide")));
        QCOMPARE(AccessibleFixture::rangeOf(link), std::pair(guide, guide + 5));
        QCOMPARE(link->text(QAccessible::Value), QStringLiteral("https://example.org/guide"));
        QVERIFY(link->rect().contains(fixture.text->characterRect(guide + 2).center()));
        QCOMPARE(fixture.document->childAt(link->rect().center().x(), link->rect().center().y()), link);
        QSignalSpy activated(&fixture.view, &MarkdownView::linkActivated);
        QVERIFY(link->actionInterface());
        QCOMPARE(link->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toUrl(), QUrl(QStringLiteral("https://example.org/guide")));

        QAccessibleInterface *picture =
            fixture.childNamed(QAccessible::Graphic, QStringLiteral("A lantern at dusk"));
        QVERIFY(picture);
        const int afterPicture = int(all.indexOf(QLatin1String("Details")));
        QCOMPARE(AccessibleFixture::rangeOf(picture), std::pair(afterPicture, afterPicture));
        QTRY_COMPARE(picture->rect().size(), QSize(40, 30));

        // Children are in reading order.
        QCOMPARE(fixture.document->indexOfChild(title), 0);
        QVERIFY(fixture.document->indexOfChild(link) < fixture.document->indexOfChild(picture));
        QVERIFY(fixture.document->indexOfChild(picture) < fixture.document->indexOfChild(details));
    }

    void attributesDescribeTheRunsOfText()
    {
        AccessibleFixture fixture(QStringLiteral("# Lantern notes\n\n"
                                                 "Plain **firm** and *slanted* with `wick` and a "
                                                 "[guide](https://example.org/guide).\n"));
        Theme theme;
        theme.headings[0] = [](const BlockConfiguration &configuration) {
            return configuration.label.textStyle(TextStyle::fontWeight(QFont::Bold) +
                                                 TextStyle::fontSize(RelativeSize::em(2)));
        };
        theme.link = TextStyle::foregroundColor(dynamicColor(0.4f, 0.7f, 1.0f, 1.0f, 0.0f, 0.3f, 0.9f, 1.0f));
        theme.code = TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced) +
                     TextStyle::backgroundColor(dynamicColor(0.2f, 0.2f, 0.2f, 1.0f, 0.9f, 0.9f, 0.9f, 1.0f));
        fixture.view.setTheme(theme);
        fixture.view.setPalette(QPalette(Qt::black, Qt::white)); // dark buttons on a white window
        QCOMPARE(appearanceOf(fixture.view.palette()), Appearance::light);
        const QString all = fixture.text->text(0, -1);
        QVERIFY2(all.startsWith(QLatin1String("Lantern notes\nPlain firm and slanted")), qPrintable(all));
        // The run around a word's second character.
        const auto runOf = [&](const QString &word) {
            return attributesAt(fixture.text, int(all.indexOf(word)) + 1);
        };

        // Every run says its font, weight, style and colour, in the form the bridges read.
        const AttributeRun plain = attributesAt(fixture.text, int(all.indexOf(QLatin1String("Plain"))));
        QCOMPARE(plain.start, 14);
        QCOMPARE(plain.end, 20); // "Plain " up to the strong text
        QVERIFY(plain.values.value(QStringLiteral("font-family")).startsWith(QLatin1Char('"')));
        QVERIFY(pointSize(plain) > 0);
        QCOMPARE(plain.values.value(QStringLiteral("font-weight")), QStringLiteral("normal"));
        QCOMPARE(plain.values.value(QStringLiteral("font-style")), QStringLiteral("normal"));
        const QRegularExpression rgb(QStringLiteral("^rgb\\(\\d+,\\d+,\\d+\\)$"));
        QVERIFY(rgb.match(plain.values.value(QStringLiteral("color"))).hasMatch());
        QCOMPARE(plain.values.value(QStringLiteral("color")),
                 QStringLiteral("rgb(%1,%2,%3)")
                     .arg(fixture.view.palette().color(QPalette::Text).red())
                     .arg(fixture.view.palette().color(QPalette::Text).green())
                     .arg(fixture.view.palette().color(QPalette::Text).blue()));
        QVERIFY(!plain.values.contains(QStringLiteral("background-color")));
        QVERIFY(!plain.values.contains(QStringLiteral("text-underline-style")));

        const AttributeRun heading = attributesAt(fixture.text, 3);
        QCOMPARE(std::pair(heading.start, heading.end), std::pair(0, 13));
        QCOMPARE(heading.values.value(QStringLiteral("font-weight")), QStringLiteral("bold"));
        QVERIFY(pointSize(heading) > 1.5 * pointSize(plain));
        // The line feed after the heading reads as the text after it.
        const AttributeRun feed = attributesAt(fixture.text, 13);
        QCOMPARE(std::pair(feed.start, feed.end), std::pair(13, 14));
        QCOMPARE(feed.values, plain.values);

        const AttributeRun firm = runOf(QStringLiteral("firm"));
        QCOMPARE(std::pair(firm.start, firm.end), std::pair(20, 24));
        QCOMPARE(firm.values.value(QStringLiteral("font-weight")), QStringLiteral("bold"));
        QCOMPARE(firm.values.value(QStringLiteral("font-style")), QStringLiteral("normal"));

        const int slantedAt = int(all.indexOf(QLatin1String("slanted")));
        const AttributeRun slanted = runOf(QStringLiteral("slanted"));
        QCOMPARE(std::pair(slanted.start, slanted.end), std::pair(slantedAt, slantedAt + 7));
        QCOMPARE(slanted.values.value(QStringLiteral("font-style")), QStringLiteral("italic"));
        QCOMPARE(slanted.values.value(QStringLiteral("font-weight")), QStringLiteral("normal"));

        const int wickAt = int(all.indexOf(QLatin1String("wick")));
        const AttributeRun wick = runOf(QStringLiteral("wick"));
        QCOMPARE(std::pair(wick.start, wick.end), std::pair(wickAt, wickAt + 4));
        QVERIFY(wick.values.value(QStringLiteral("font-family")) !=
                plain.values.value(QStringLiteral("font-family")));
        QCOMPARE(wick.values.value(QStringLiteral("background-color")), QStringLiteral("rgb(230,230,230)"));

        const int guideAt = int(all.indexOf(QLatin1String("guide")));
        const AttributeRun guide = runOf(QStringLiteral("guide"));
        QCOMPARE(std::pair(guide.start, guide.end), std::pair(guideAt, guideAt + 5));
        QCOMPARE(guide.values.value(QStringLiteral("color")), QStringLiteral("rgb(0,77,230)"));

        // The end reads as the last character; offsets off the text read nothing.
        const AttributeRun end = attributesAt(fixture.text, fixture.text->characterCount());
        QCOMPARE(end.values, attributesAt(fixture.text, fixture.text->characterCount() - 1).values);
        QVERIFY(end.start < fixture.text->characterCount() && end.end == fixture.text->characterCount());
        const AttributeRun outside = attributesAt(fixture.text, fixture.text->characterCount() + 5);
        QVERIFY(outside.values.isEmpty());
        QCOMPARE(std::pair(outside.start, outside.end), std::pair(-1, -1));

        // Colours follow the appearance the page is painted in.
        fixture.view.setPalette(QPalette(Qt::white, Qt::black));
        QCOMPARE(appearanceOf(fixture.view.palette()), Appearance::dark);
        QCOMPARE(runOf(QStringLiteral("guide")).values.value(QStringLiteral("color")),
                 QStringLiteral("rgb(102,179,255)"));
    }

    void childrenStayWhileTheirBlocksDo()
    {
        // Across the slices of a long text laid out in the background.
        AccessibleFixture fixture(longPage(600), QSize(400, 200));
        QVERIFY(!fixture.view.isLayoutComplete());
        const HeldChildren first(fixture.document);
        QVERIFY(!first.ids.isEmpty());
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        QVERIFY(fixture.document->childCount() > first.ids.size());
        verifyStillHeld(fixture.document, first);
        if (QTest::currentTestFailed())
            return;

        // Across a new width, and another theme (which builds the page again from its top).
        const HeldChildren all(fixture.document);
        fixture.view.resize(300, 240);
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        verifyStillHeld(fixture.document, all);
        if (QTest::currentTestFailed())
            return;
        Theme theme;
        theme.strong = TextStyle::fontWeight(QFont::Black);
        theme.link = TextStyle::underlineStyle(TextLineStyle::single());
        fixture.view.setTheme(theme);
        QCOMPARE(fixture.document->child(0), all.interfaces.first());
        // The last block is not built again yet, but will be: its child waits.
        QCOMPARE(QAccessible::accessibleInterface(all.ids.last()), all.interfaces.last());
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        QCOMPARE(fixture.document->childCount(), all.ids.size());
        verifyStillHeld(fixture.document, all);
        if (QTest::currentTestFailed())
            return;
        // A child's place on the screen follows the page laid out again.
        const QRect shown(fixture.view.viewport()->mapToGlobal(QPoint(0, 0)),
                          fixture.view.viewport()->size());
        QVERIFY(!all.interfaces.first()->rect().isEmpty());
        QVERIFY(shown.contains(all.interfaces.first()->rect().topLeft()));
    }

    void onlyChangedBlocksGetNewChildren()
    {
        const Listening listening;
        if (!QAccessible::isActive())
            QSKIP("No assistive technology listens on this platform, so the view tells nothing");
        const QString before =
            QStringLiteral("# Lantern notes\n\nRead the [guide](https://example.org/guide).\n\n"
                           "See the [map](https://example.org/map).\n\n"
                           "## Details\n\nAsk the [keeper](https://example.org/keeper).\n");
        AccessibleFixture fixture(before);
        const HeldChildren held(fixture.document);
        QCOMPARE(held.names,
                 QStringList({QStringLiteral("Lantern notes"), QStringLiteral("guide"), QStringLiteral("map"),
                              QStringLiteral("Details"), QStringLiteral("keeper")}));
        // Told of each child as it came.
        for (const QAccessible::Id id : held.ids) {
            QVERIFY(std::any_of(heard.cbegin(), heard.cend(), [id](const HeardEvent &event) {
                return event.type == QAccessible::ObjectCreated && event.id == id;
            }));
        }

        // The same file read again with one paragraph changed, one gone and one more.
        heard.clear();
        fixture.view.setMarkdown(
            QStringLiteral("# Lantern notes\n\nA new [preface](https://example.org/preface).\n\n"
                           "Read the [guide](https://example.org/guide).\n\n"
                           "## Details\n\nAsk the [warden](https://example.org/warden).\n"));
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        QCOMPARE(fixture.document->childCount(), 5);
        const auto kept = [&](int now, int was) {
            QCOMPARE(fixture.document->child(now), held.interfaces.at(was));
            QCOMPARE(fixture.document->indexOfChild(held.interfaces.at(was)), now);
        };
        kept(0, 0); // the title
        kept(2, 1); // the guide, after the new preface
        kept(3, 3); // "Details"
        QCOMPARE(fixture.document->child(1)->text(QAccessible::Name), QStringLiteral("preface"));
        QCOMPARE(fixture.document->child(4)->text(QAccessible::Name), QStringLiteral("warden"));

        const auto told = [&](QAccessible::Event type, QAccessible::Id id) {
            return std::count_if(heard.cbegin(), heard.cend(), [&](const HeardEvent &event) {
                return event.type == type && event.id == id;
            });
        };
        for (const int gone : {2, 4}) {
            QCOMPARE(told(QAccessible::ObjectDestroyed, held.ids.at(gone)), 1);
            QCOMPARE(QAccessible::accessibleInterface(held.ids.at(gone)), nullptr);
        }
        for (const int stays : {0, 1, 3})
            QCOMPARE(told(QAccessible::ObjectDestroyed, held.ids.at(stays)), 0);
        for (const int made : {1, 4})
            QCOMPARE(told(QAccessible::ObjectCreated, QAccessible::uniqueId(fixture.document->child(made))),
                     1);
        QCOMPARE(
            std::count_if(heard.cbegin(), heard.cend(),
                          [](const HeardEvent &event) { return event.type == QAccessible::ObjectCreated; }),
            2);
    }

    void aNewTextReplacesTheChildren()
    {
        AccessibleFixture fixture(sample);
        QAccessibleInterface *title =
            fixture.childNamed(QAccessible::Heading, QStringLiteral("Lantern notes"));
        QVERIFY(title);
        fixture.view.setMarkdown(QStringLiteral("Plain text, [one link](https://example.org)."));
        QCOMPARE(fixture.document->childCount(), 1);
        QCOMPARE(fixture.document->child(0)->role(), QAccessible::Link);
        QCOMPARE(fixture.text->text(0, -1), QStringLiteral("Plain text, one link."));
    }

    void aLongTextGrowsAsItIsLaidOut()
    {
        QStringList paragraphs;
        for (int index = 0; index < 400; ++index)
            paragraphs.append(QStringLiteral("Paragraph %1 of a long page.").arg(index));
        AccessibleFixture fixture(paragraphs.join(QLatin1String("\n\n")), QSize(400, 200));
        const int first = fixture.text->characterCount();
        QVERIFY(first > 0);
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        QCOMPARE(fixture.text->text(0, -1), paragraphs.join(QLatin1Char('\n')));
        QVERIFY(fixture.text->characterCount() >= first);
    }

    void selectionCaretAndTextChangesAreTold()
    {
        const Listening listening;
        if (!QAccessible::isActive())
            QSKIP("No assistive technology listens on this platform, so the view tells nothing");
        QStringList paragraphs;
        for (int index = 0; index < 300; ++index)
            paragraphs.append(QStringLiteral("Paragraph %1 of a long page.").arg(index));
        AccessibleFixture fixture(paragraphs.join(QLatin1String("\n\n")), QSize(400, 200));
        QTRY_VERIFY(fixture.view.isLayoutComplete());

        // The text as first shown, then what was laid out later, piece by piece in order.
        QString told;
        for (const HeardEvent &event : std::as_const(heard)) {
            if (event.type == QAccessible::TextUpdated)
                told = event.text;
            if (event.type == QAccessible::TextInserted) {
                QCOMPARE(event.position, told.size());
                told += event.text;
            }
        }
        QCOMPARE(told, fixture.text->text(0, -1));

        heard.clear();
        fixture.text->setSelection(0, 3, 12);
        const auto selection = std::find_if(heard.cbegin(), heard.cend(), [](const HeardEvent &event) {
            return event.type == QAccessible::TextSelectionChanged;
        });
        QVERIFY(selection != heard.cend());
        QCOMPARE(std::pair(selection->position, selection->end), std::pair(3, 12));

        heard.clear();
        fixture.text->setCursorPosition(7);
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard.first().type, QAccessible::TextCaretMoved);
        QCOMPARE(heard.first().position, 7);
    }
};

QTEST_MAIN(MarkdownViewAccessibleTest)
#include "tst_markdownviewaccessible.moc"
