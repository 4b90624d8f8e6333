#include "markdown/layout/view/markdownview.h"
#include "preview/capabilitysection.h"
#include "preview/changereviewview.h"
#include "preview/fittedmarkdownview.h"
#include "preview/previewzoom.h"
#include "preview/requirementcard.h"
#include "preview/reviewmarkup.h"
#include "preview/specificationresultview.h"
#include "review/changereview.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

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
    return {review, ChangeStatus::active};
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
};

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
