// The rendered page as assistive technology reads it through QAccessible: a named document
// whose text is the text the view copies, with its selection, caret and geometry, and its
// headings, links and pictures as children.
#include "testimageprovider.h"

#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewelementaccessible_p.h"

#include "ui/localization.h"

#include <QAccessible>
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

// What the view told assistive technology, while a test listens.
struct HeardEvent
{
    QAccessible::Event type = QAccessible::InvalidEvent;
    int position = -1; // a caret's offset, an insertion's place, a selection's start
    int end = -1;      // a selection's end
    QString text;      // what was inserted
};
QList<HeardEvent> heard;

void hear(QAccessibleEvent *event)
{
    HeardEvent record;
    record.type = event->type();
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
