#include "markdown/layout/view/markdownview.h"
#include "preview/capabilitysection.h"
#include "preview/changereviewview.h"
#include "preview/fittedmarkdownview.h"
#include "preview/previewzoom.h"
#include "preview/requirementcard.h"
#include "preview/requirementhistorypopup.h"
#include "preview/reviewmarkup.h"
#include "preview/specificationresultview.h"
#include "review/changereview.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace kestrune;

namespace {

const char *currentAuth =
    "# Auth\n\n## Requirements\n\n"
    "### Requirement: Sign in\nUsers SHALL sign in with a password.\n\n"
    "#### Scenario: Good password\n- **WHEN** the password is right\n- **THEN** the user is in\n\n"
    "### Requirement: Sessions\nA session SHALL last a day.\n";

const char *deltaAuth =
    "## MODIFIED Requirements\n\n"
    "### Requirement: Sign in\nUsers SHALL sign in with a password or a passkey.\n\n"
    "#### Scenario: Good password\n- **WHEN** the password is right\n- **THEN** the user is in\n\n"
    "### Requirement: Sign-in\nUsers SHALL sign in twice.\n\n"
    "## ADDED Requirements\n\n### Requirement: Passkeys\nUsers SHALL register passkeys.\n\n"
    "## REMOVED Requirements\n\n### Requirement: Sessions\n**Reason**: tokens replace them.\n";

ChangeReviewInput reviewOf(const char *current, const char *delta, int capabilities = 1)
{
    ChangeReview review;
    review.changeName = QStringLiteral("add-passkeys");
    for (int index = 0; index < capabilities; ++index) {
        CapabilityReview capability = CapabilityReview::compare(
            QStringLiteral("auth-%1").arg(index), SpecificationDocument::parse(QString::fromUtf8(current)),
            SpecificationDocument::parse(QString::fromUtf8(delta)), false);
        review.counts += capability.counts;
        review.capabilities.append(capability);
    }
    return {review, ChangeStatus::active, std::nullopt};
}

RequirementCard *cardNamed(ChangeReviewView &view, const QString &name)
{
    for (CapabilitySection *section : view.sections()) {
        for (RequirementCard *card : section->cards()) {
            if (card->requirement().name == name)
                return card;
        }
    }
    return nullptr;
}

// The height of the first band of rows holding ink (text darker than the page), in pixels.
int firstInkBandHeight(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    const int page = qGray(image.pixel(0, 0));
    int first = -1;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = page - qGray(image.pixel(x, y)) > 96;
        if (ink && first < 0)
            first = y;
        else if (!ink && first >= 0)
            return y - first;
    }
    return first < 0 ? 0 : image.height() - first;
}

// Two commits to compare with, newest first; the older one is the commit the change was proposed on.
QList<ReviewBaseline> twoBaselines()
{
    const QDateTime time(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    return {{QStringLiteral("b2").repeated(20), time.addDays(2), QStringLiteral("Apply passkeys"), false},
            {QStringLiteral("a1").repeated(20), time, QStringLiteral("Start the specifications"), true}};
}

// The review with its capabilities' current specification files named, as reviewChange names them.
ChangeReviewInput reviewWithFiles()
{
    ChangeReviewInput input = reviewOf(currentAuth, deltaAuth);
    for (CapabilityReview &capability : input.review.capabilities)
        capability.specificationFile = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/specs/auth/spec.md"));
    return input;
}

} // namespace

class TestChangeReviewView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::setPalette(ThemeController::paletteFor(Appearance::light)); }

    void markupKeepsTheBlocksOfTheText_data();
    void markupKeepsTheBlocksOfTheText();
    void cardsShowKindsFindingsAndMarks();
    void nextAndPreviousDifferenceOpenSectionsAndWalkTheCards();
    void newComparisonKeepsOpenSectionsAndScrollPosition();
    void marksAreTintedInBothAppearances_data();
    void marksAreTintedInBothAppearances();
    void resultShowsTheMergedTextWithMarginMarks();
    void remoteImagesOffNameTheirServerInReviewsToo();
    void reviewPagesFollowThePreviewZoom();
    void compareWithOffersEarlierCommitsAndSaysWhichIsShown();
    void cardsAskForTheirRequirementsHistory();
    void baselineNoteStandsOutInBothAppearances_data();
    void baselineNoteStandsOutInBothAppearances();
    void historyPopupListsLinesAndOpensArchivedChanges();
};

void TestChangeReviewView::compareWithOffersEarlierCommitsAndSaysWhichIsShown()
{
    ChangeReviewView view(reviewWithFiles());
    QVERIFY(view.baselineChoice()->isHidden());
    QVERIFY(view.baselineLabel()->isHidden());

    view.setBaselineChoices(twoBaselines());
    QVERIFY(!view.baselineChoice()->isHidden());
    QComboBox *choice = view.baselineChoice();
    QCOMPARE(choice->count(), 4); // current, a separator, two commits
    QCOMPARE(choice->currentIndex(), 0);
    QCOMPARE(choice->itemText(0), Localization::text("review.baseline.current"));
    QVERIFY(choice->itemText(2).endsWith(QStringLiteral("b2b2b2b · Apply passkeys")));
    QVERIFY(!choice->itemData(2, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(choice->itemText(3),
             Localization::format("review.baseline.before_change", twoBaselines().at(1).description()));
    QVERIFY(choice->itemData(3, Qt::FontRole).value<QFont>().bold());

    // Down from "Current" passes the separator; the page says it compares until the review is there.
    QSignalSpy requested(&view, &ChangeReviewView::baselineRequested);
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.at(0).at(0).toString(), twoBaselines().at(0).commit);
    QVERIFY(!view.baselineLabel()->isHidden());
    QCOMPARE(view.baselineLabel()->text(),
             Localization::format("review.baseline.comparing", twoBaselines().at(0).description()));

    ChangeReviewInput input = reviewWithFiles();
    input.baseline = twoBaselines().at(1);
    view.setInput(input);
    QCOMPARE(choice->currentIndex(), 3);
    QCOMPARE(view.baselineLabel()->text(),
             Localization::format("review.baseline.note_before_change", twoBaselines().at(1).description()));

    // Back to the files on disk: no note; the choices stay.
    view.setInput(reviewWithFiles());
    QCOMPARE(choice->currentIndex(), 0);
    QVERIFY(view.baselineLabel()->isHidden());
    QCOMPARE(choice->count(), 4);

    // No history: no choice.
    view.setBaselineChoices({});
    QVERIFY(choice->isHidden());
}

void TestChangeReviewView::cardsAskForTheirRequirementsHistory()
{
    ChangeReviewInput input = reviewWithFiles();
    CapabilityReview introduced = input.review.capabilities.constFirst();
    introduced.capability = QStringLiteral("passkeys");
    introduced.specificationFile.reset(); // a capability the change introduces
    input.review.capabilities.append(introduced);
    ChangeReviewView view(input);
    RequirementCard *card = cardNamed(view, QStringLiteral("Sign in"));
    QVERIFY(card);
    QVERIFY(card->historyButton()->isHidden());

    view.setBaselineChoices(twoBaselines());
    QVERIFY(!view.sections().at(0)->cards().at(0)->historyButton()->isHidden());
    QVERIFY(view.sections().at(1)->cards().at(0)->historyButton()->isHidden());
    QSignalSpy requested(&view, &ChangeReviewView::requirementHistoryRequested);
    QTest::mouseClick(view.sections().at(0)->cards().at(0)->historyButton(), Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.at(0).at(0).toUrl(),
             QUrl::fromLocalFile(QStringLiteral("/p/kestrune/specs/auth/spec.md")));
    QCOMPARE(requested.at(0).at(1).toString(), QStringLiteral("Sign in"));

    // Cards made later (a new comparison) have the button too.
    view.setInput(input);
    QVERIFY(!view.sections().at(0)->cards().at(0)->historyButton()->isHidden());
}

void TestChangeReviewView::baselineNoteStandsOutInBothAppearances_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestChangeReviewView::baselineNoteStandsOutInBothAppearances()
{
    QFETCH(Appearance, appearance);
    QApplication::setPalette(ThemeController::paletteFor(appearance));
    ChangeReviewInput input = reviewWithFiles();
    input.baseline = twoBaselines().at(1);
    ChangeReviewView view(input);
    view.setBaselineChoices(twoBaselines());
    view.resize(900, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage page = view.grab().toImage();
    const QRect note = view.baselineLabel()->geometry();
    QVERIFY(!note.isEmpty());
    // The note's ink is the accent colour on the page's background: blue, not grey.
    const QColor background = page.pixelColor(note.topLeft() + QPoint(-2, 0));
    int accentInk = 0;
    for (int y = note.top(); y <= note.bottom(); ++y) {
        for (int x = note.left(); x <= note.right(); ++x) {
            const QColor c = page.pixelColor(x, y);
            accentInk += c.blue() > c.red() + 40 && c != background;
        }
    }
    QVERIFY2(accentInk > 100, qPrintable(QString::number(accentInk)));
    // The choice sits in the header row, right of the title.
    QVERIFY(view.baselineChoice()->geometry().left() > view.titleLabel()->geometry().left());
    QVERIFY(qAbs(view.baselineChoice()->geometry().center().y() -
                 view.titleLabel()->geometry().center().y()) <= 6);
}

void TestChangeReviewView::historyPopupListsLinesAndOpensArchivedChanges()
{
    // The popup deletes itself once closed.
    QPointer<RequirementHistoryPopup> popup = new RequirementHistoryPopup(QStringLiteral("Tags"));
    QCOMPARE(popup->statusLabel()->text(), Localization::text("review.history.reading"));
    const QDateTime time(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    const QUrl archived =
        QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/archive/2026-03-02-add-tagging"));
    popup->addItems({{QStringLiteral("c3").repeated(20), time.addDays(1), QStringLiteral("Ann"),
                      QStringLiteral("Archive tagging"), DeltaSpecType::modified,
                      QStringLiteral("2026-03-02-add-tagging"), archived}});
    popup->addItems({{QStringLiteral("c1").repeated(20), time, QStringLiteral("Ann"), QStringLiteral("Start"),
                      DeltaSpecType::added, QString(), std::nullopt}});
    popup->finish();
    QVERIFY(popup->statusLabel()->isHidden());
    QCOMPARE(popup->list()->count(), 2);
    const QString archiving = popup->list()->item(0)->text();
    QVERIFY(archiving.contains(QStringLiteral("c3c3c3c")));
    QVERIFY(archiving.contains(Localization::text("review.history.modified")));
    QVERIFY(archiving.contains(QStringLiteral("Archive tagging")));
    QVERIFY(archiving.contains(
        Localization::format("review.history.change", QStringLiteral("2026-03-02-add-tagging"))));
    QVERIFY(popup->list()->item(1)->text().contains(Localization::text("review.history.added")));

    QSignalSpy chosen(popup, &RequirementHistoryPopup::changeChosen);
    popup->popUp(QPoint(0, 0));
    // A line without an archived change opens nothing; typing narrows the list.
    popup->list()->setCurrentRow(1);
    QTest::keyClick(popup->filterField(), Qt::Key_Return);
    QCOMPARE(chosen.size(), 0);
    QTest::keyClicks(popup->filterField(), QStringLiteral("archive"));
    QVERIFY(popup->list()->item(1)->isHidden());
    QCOMPARE(popup->list()->currentRow(), 0);
    QTest::keyClick(popup->filterField(), Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toUrl(), archived);
    QTRY_VERIFY(!popup);

    RequirementHistoryPopup empty(QStringLiteral("Tags"));
    empty.finish();
    QCOMPARE(empty.statusLabel()->text(), Localization::text("review.history.none"));
}

void TestChangeReviewView::markupKeepsTheBlocksOfTheText_data()
{
    QTest::addColumn<QList<DiffHunk>>("hunks");
    QTest::addColumn<QString>("expected");
    using Op = DiffOperation;
    QTest::addRow("words inside a paragraph") << QList<DiffHunk>{{Op::equal, "Users SHALL"},
                                                                 {Op::remove, " always"},
                                                                 {Op::insert, " now"},
                                                                 {Op::equal, " sign in."}}
                                              << "Users SHALL <del>always</del> <ins>now</ins> sign in.";
    QTest::addRow("block markers stay outside the tags")
        << QList<DiffHunk>{{Op::equal, "- one\n"},
                           {Op::insert, "- [ ] two\n### Requirement: Three\n> quoted\n1. four\n"}}
        << "- one\n- [ ] <ins>two</ins>\n### <ins>Requirement: Three</ins>\n> <ins>quoted</ins>\n1. "
           "<ins>four</ins>\n";
    QTest::addRow("white space alone is not marked")
        << QList<DiffHunk>{{Op::equal, "a"}, {Op::insert, "\n\n"}, {Op::equal, "b"}} << "a\n\nb";
    QTest::addRow("fenced code and table rows are left unmarked")
        << QList<DiffHunk>{{Op::equal, "```\n"},
                           {Op::insert, "code\n"},
                           {Op::equal, "```\n"},
                           {Op::remove, "| a | b |\n"},
                           {Op::insert, "after\n"}}
        << "```\ncode\n```\n| a | b |\n<ins>after</ins>\n";
}

void TestChangeReviewView::markupKeepsTheBlocksOfTheText()
{
    QFETCH(QList<DiffHunk>, hunks);
    QFETCH(QString, expected);
    QCOMPARE(ReviewMarkup::markedMarkdown(hunks), expected);
}

void TestChangeReviewView::cardsShowKindsFindingsAndMarks()
{
    ChangeReviewView view(reviewOf(currentAuth, deltaAuth));
    QCOMPARE(view.titleLabel()->text(), QStringLiteral("add-passkeys"));
    QVERIFY(view.detailLabel()->text().contains(QStringLiteral("dashboard.badge.active")));
    QVERIFY(view.detailLabel()->text().contains(QStringLiteral("review.counts.removed")));
    QCOMPARE(view.sections().size(), 1);
    QStringList names;
    for (RequirementCard *card : view.sections().constFirst()->cards())
        names.append(card->requirement().name);
    QCOMPARE(names, (QStringList{"Sign in", "Sign-in", "Passkeys", "Sessions"}));

    RequirementCard *modified = cardNamed(view, QStringLiteral("Sign in"));
    QVERIFY(modified->hasDifferences());
    QVERIFY(modified->findingTexts().isEmpty());
    const QString marked = ReviewMarkup::markedMarkdown(modified->requirement().hunks);
    QVERIFY2(marked.contains(QStringLiteral("<ins>")) && marked.contains(QStringLiteral("passkey")),
             qPrintable(marked));

    // A likely typo: flagged, with the closest name.
    RequirementCard *typo = cardNamed(view, QStringLiteral("Sign-in"));
    QCOMPARE(typo->findingTexts(), QStringList{QStringLiteral("review.flag.missing_suggestion")});
    QCOMPARE(typo->requirement().suggestion, std::optional<QString>(QStringLiteral("Sign in")));
    auto *findings = typo->findChild<QLabel *>(QStringLiteral("requirementFindings"));
    QVERIFY(!findings->isHidden());
    QVERIFY(cardNamed(view, QStringLiteral("Passkeys"))
                ->findChild<QLabel *>(QStringLiteral("requirementFindings"))
                ->isHidden());

    // The removed one shows the current text struck through, and why.
    RequirementCard *removed = cardNamed(view, QStringLiteral("Sessions"));
    QVERIFY(ReviewMarkup::markedMarkdown(removed->requirement().hunks).contains(QStringLiteral("<del>")));
    QVERIFY(removed->findChild<FittedMarkdownView *>(QStringLiteral("requirementNote")));
}

void TestChangeReviewView::nextAndPreviousDifferenceOpenSectionsAndWalkTheCards()
{
    ChangeReviewView view(reviewOf(currentAuth, deltaAuth, 2));
    view.resize(700, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.sections().at(1)->setExpanded(false);
    QVERIFY(view.sections().at(1)->cards().isEmpty());

    QStringList visited;
    for (int step = 0; step < 8; ++step) {
        QTest::keyClick(&view, Qt::Key_N);
        visited.append(view.currentCard()->requirement().name);
    }
    // Every card has a difference or a finding; the closed section opened on the way.
    QCOMPARE(visited, (QStringList{"Sign in", "Sign-in", "Passkeys", "Sessions", "Sign in", "Sign-in",
                                   "Passkeys", "Sessions"}));
    QVERIFY(view.sections().at(1)->isExpanded());
    QVERIFY(view.scrollArea()->verticalScrollBar()->value() > 0);
    QTest::keyClick(view.currentCard(), Qt::Key_N); // at the end: stays
    QCOMPARE(view.currentCard()->requirement().name, QStringLiteral("Sessions"));
    QTest::keyClick(view.currentCard(), Qt::Key_F7, Qt::ShiftModifier);
    QCOMPARE(view.currentCard()->requirement().name, QStringLiteral("Passkeys"));
    QTest::keyClick(view.currentCard(), Qt::Key_P);
    QCOMPARE(view.currentCard()->requirement().name, QStringLiteral("Sign-in"));
}

void TestChangeReviewView::newComparisonKeepsOpenSectionsAndScrollPosition()
{
    ChangeReviewView view(reviewOf(currentAuth, deltaAuth, 3));
    view.resize(700, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.sections().at(0)->setExpanded(false);
    QCoreApplication::processEvents();
    QScrollBar *scroll = view.scrollArea()->verticalScrollBar();
    QTRY_VERIFY(scroll->maximum() > 100);
    scroll->setValue(100);

    view.setInput(reviewOf(currentAuth, deltaAuth, 3));
    QVERIFY(!view.sections().at(0)->isExpanded());
    QVERIFY(view.sections().at(1)->isExpanded());
    QCOMPARE(scroll->value(), 100);

    // A large change opens its first capability only.
    const ChangeReviewView large(reviewOf(currentAuth, deltaAuth, 11));
    QVERIFY(large.sections().at(0)->isExpanded());
    QVERIFY(!large.sections().at(1)->isExpanded());
    QVERIFY(large.sections().at(1)->cards().isEmpty());
}

void TestChangeReviewView::marksAreTintedInBothAppearances_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestChangeReviewView::marksAreTintedInBothAppearances()
{
    QFETCH(Appearance, appearance);
    QApplication::setPalette(ThemeController::paletteFor(appearance));
    const QList<DiffHunk> hunks{{DiffOperation::equal, QStringLiteral("Plain ")},
                                {DiffOperation::insert, QStringLiteral("INSERTEDWORDS")},
                                {DiffOperation::equal, QStringLiteral(" then ")},
                                {DiffOperation::remove, QStringLiteral("DELETEDWORDS")}};
    FittedMarkdownView view(ReviewMarkup::markedMarkdown(hunks));
    view.resize(600, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.isLayoutComplete());
    const QImage image = view.viewport()->grab().toImage();
    // Behind the two words: a green tint and a red one, in pixels of the tint itself (neither the
    // page nor the glyphs' ink).
    const QColor page = image.pixelColor(0, 0);
    int greenish = 0;
    int reddish = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            greenish += c.green() > c.red() + 24 && c.green() > c.blue() + 10 && c != page;
            reddish += c.red() > c.green() + 24 && c.red() > c.blue() + 10 && c != page;
        }
    }
    QVERIFY2(greenish > 300, qPrintable(QString::number(greenish)));
    QVERIFY2(reddish > 300, qPrintable(QString::number(reddish)));
}

void TestChangeReviewView::resultShowsTheMergedTextWithMarginMarks()
{
    const CapabilityReview capability = reviewOf(currentAuth, deltaAuth).review.capabilities.constFirst();
    SpecificationResultView view(QStringLiteral("add-passkeys"), capability);
    QVERIFY(view.merge().text.contains(QStringLiteral("or a passkey")));
    QVERIFY(!view.merge().text.contains(QStringLiteral("A session SHALL last a day.")));
    QStringList kinds;
    for (QWidget *piece : view.pieces())
        kinds.append(piece->property("deltaKind").isValid()
                         ? rawValue(DeltaSpecType(piece->property("deltaKind").toInt()))
                         : QStringLiteral("-"));
    // The heading and purpose, the modified requirement, the removed one's place, the added one.
    QVERIFY2(kinds.contains(QStringLiteral("MODIFIED")) && kinds.contains(QStringLiteral("REMOVED")) &&
                 kinds.contains(QStringLiteral("ADDED")),
             qPrintable(kinds.join(QLatin1Char(' '))));
    QCOMPARE(kinds.constFirst(), QStringLiteral("-"));
    QVERIFY(view.findChild<QLabel *>(QStringLiteral("removedRequirement")));
}

// The reader's choice against web pictures holds on the review pages as well.
void TestChangeReviewView::remoteImagesOffNameTheirServerInReviewsToo()
{
    const QString markdown = QStringLiteral("The SHALL ![diagram](https://example.com/d.png) hold.");
    FittedMarkdownView::setLoadsRemoteImages(false);
    FittedMarkdownView withheld(markdown);
    FittedMarkdownView::setLoadsRemoteImages(true);
    FittedMarkdownView loaded(markdown);
    QVERIFY(!withheld.environment().loadsRemoteImages);
    QTRY_VERIFY(withheld.layoutDump().contains(QLatin1String("example.com")));
    QVERIFY(loaded.environment().loadsRemoteImages);
}

// Ctrl+plus makes the text of both review pages larger, as it does the preview's, and a page
// made while zoomed starts zoomed.
void TestChangeReviewView::reviewPagesFollowThePreviewZoom()
{
    PreviewZoom &zoom = PreviewZoom::shared();
    const auto standardSize = qScopeGuard([&zoom] { zoom.reset(); });
    ChangeReviewView review(reviewOf(currentAuth, deltaAuth));
    review.resize(900, 700);
    review.show();
    QVERIFY(QTest::qWaitForWindowExposed(&review));
    FittedMarkdownView *text = cardNamed(review, QStringLiteral("Passkeys"))->textView();
    QTRY_VERIFY(text->isLayoutComplete());
    const int height = text->height();
    const int glyphs = firstInkBandHeight(text);
    QVERIFY(glyphs > 4);

    zoom.setPercent(200);
    QCOMPARE(text->zoom(), 2.0);
    QTRY_VERIFY(text->isLayoutComplete());
    QTRY_VERIFY2(text->height() > height * 3 / 2, qPrintable(QString::number(text->height())));
    const int zoomedGlyphs = firstInkBandHeight(text);
    QVERIFY2(zoomedGlyphs >= glyphs * 17 / 10 && zoomedGlyphs <= glyphs * 23 / 10,
             qPrintable(QStringLiteral("%1 -> %2").arg(glyphs).arg(zoomedGlyphs)));

    const CapabilityReview capability = reviewOf(currentAuth, deltaAuth).review.capabilities.constFirst();
    SpecificationResultView result(QStringLiteral("add-passkeys"), capability);
    const QList<FittedMarkdownView *> merged = result.findChildren<FittedMarkdownView *>();
    QVERIFY(!merged.isEmpty());
    for (const FittedMarkdownView *markdown : merged)
        QCOMPARE(markdown->zoom(), 2.0);
    zoom.reset();
    QCOMPARE(text->zoom(), 1.0);
    QTRY_COMPARE(text->height(), height);
}

QTEST_MAIN(TestChangeReviewView)
#include "tst_changereviewview.moc"
