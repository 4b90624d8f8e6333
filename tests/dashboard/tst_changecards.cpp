#include "dashboard/activechangecard.h"
#include "dashboard/archivedchangerow.h"
#include "dashboard/completedchangerow.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/draftchangecard.h"
#include "dashboard/hoverhighlightmodifier.h"
#include "dashboard/speccard.h"
#include "dashboard/specmenubutton.h"
#include "dashboard/statusbadge.h"
#include "dashboard/summarycardview.h"
#include "dashboard/taskprogressbar.h"
#include "dashboard/workflowstageindicator.h"
#include "text/daystring.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <cstdlib>
#include <ctime>
#include <memory>

using namespace kestrune;

using NodeState = WorkflowStageIndicator::NodeState;
using NodeStates = QList<NodeState>;
using Flags = QList<bool>;

Q_DECLARE_METATYPE(std::optional<WorkflowStage>)
Q_DECLARE_METATYPE(kestrune::Appearance)

namespace {

ChangeSummary change(ChangeStatus status, const QString &name = QStringLiteral("add-login"))
{
    ChangeSummary summary;
    summary.id = QUuid::createUuid();
    summary.changeName = name;
    summary.changeDirectoryURL =
        QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/") + name);
    summary.status = status;
    return summary;
}

enum class CardKind
{
    active,
    draft,
    completed,
    archived,
    specification
};

std::unique_ptr<QWidget> cardOfKind(CardKind kind, const QString &name)
{
    switch (kind) {
    case CardKind::active:
        return std::make_unique<ActiveChangeCard>(change(ChangeStatus::active, name));
    case CardKind::draft:
        return std::make_unique<DraftChangeCard>(change(ChangeStatus::draft, name));
    case CardKind::completed:
        return std::make_unique<CompletedChangeRow>(change(ChangeStatus::completed, name));
    case CardKind::archived:
        return std::make_unique<ArchivedChangeRow>(change(ChangeStatus::archived, name));
    case CardKind::specification:
        break;
    }
    return std::make_unique<SpecCard>(name, 3);
}

} // namespace

class TestChangeCards : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void workflowStages_data();
    void workflowStages();

    void progressFillIsClampedButTheCaptionIsNot_data();
    void progressFillIsClampedButTheCaptionIsNot();
    void progressBarPaintsTheClampedFill();
    void openTracksAndPendingStagesShowOnTheCard_data();
    void openTracksAndPendingStagesShowOnTheCard();

    void dayStringIsPosixInTheUsersTimeZone_data();
    void dayStringIsPosixInTheUsersTimeZone();

    void everyChangeCardIsAButton();
    void missingDatesLeaveOutTheirLine();
    void archiveCaptionFollowsTheLocalisedFormat();
    void hoverTintComesAndGoesAtOnceAndLetsClicksThrough();
    void onlyCutNamesGetATooltip_data();
    void onlyCutNamesGetATooltip();
    void appearanceSwitchRepaintsWithTheOtherQuadruple();
    void everyCardTakesTheFocusAndShowsIt();
    void enterAndSpaceActivateTheButtonCards();
    void cardsSayAllTheyShowAndOnlyChangesReadAsButtons();
    void specMenuButtonsNameTheirSpecification();
};

void TestChangeCards::initTestCase()
{
    // Dates are checked in a fixed zone, whatever the machine's.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    Localization::install(qApp, QLocale(QLocale::English));
}

void TestChangeCards::workflowStages_data()
{
    QTest::addColumn<std::optional<WorkflowStage>>("current");
    QTest::addColumn<Flags>("present");
    QTest::addColumn<NodeStates>("nodes");
    QTest::addColumn<Flags>("connectors");
    QTest::addColumn<Flags>("labels");

    const auto P = NodeState::pending;
    const auto D = NodeState::done;
    const auto C = NodeState::current;

    QTest::addRow("no current stage: all pending whatever is present")
        << std::optional<WorkflowStage>() << Flags{true, true, true, true} << NodeStates{P, P, P, P}
        << Flags{false, false, false} << Flags{false, false, false, false};
    QTest::addRow("current proposal: first current, nothing finished")
        << std::optional(WorkflowStage::proposal) << Flags{true, false, false, false}
        << NodeStates{C, P, P, P} << Flags{false, false, false} << Flags{true, false, false, false};
    QTest::addRow("current specs with the design missing")
        << std::optional(WorkflowStage::specs) << Flags{true, false, true, false} << NodeStates{D, P, C, P}
        << Flags{false, false, false} << Flags{true, false, true, false};
    QTest::addRow("current tasks with every document")
        << std::optional(WorkflowStage::tasks) << Flags{true, true, true, true} << NodeStates{D, D, D, C}
        << Flags{true, true, true} << Flags{true, true, true, true};
    QTest::addRow("current design finishes the connector before it without its document")
        << std::optional(WorkflowStage::design) << Flags{true, false, false, false} << NodeStates{D, C, P, P}
        << Flags{true, false, false} << Flags{true, true, false, false};
    QTest::addRow("missing proposal before the current stage stays pending")
        << std::optional(WorkflowStage::design) << Flags{false, true, false, false} << NodeStates{P, C, P, P}
        << Flags{false, false, false} << Flags{false, true, false, false};
}

void TestChangeCards::workflowStages()
{
    QFETCH(std::optional<WorkflowStage>, current);
    QFETCH(Flags, present);
    QFETCH(NodeStates, nodes);
    QFETCH(Flags, connectors);
    QFETCH(Flags, labels);

    const WorkflowStageIndicator indicator(current, present[0], present[1], present[2], present[3]);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(indicator.nodeState(i), nodes[i]);
        QCOMPARE(indicator.isLabelHighlighted(i), labels[i]);
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(indicator.isConnectorFinished(i), connectors[i]);
}

void TestChangeCards::progressFillIsClampedButTheCaptionIsNot_data()
{
    QTest::addColumn<qint64>("percent");
    QTest::addColumn<qreal>("fill");
    QTest::addColumn<QString>("caption");

    QTest::addRow("nothing done: empty track") << qint64(0) << 0.0 << QStringLiteral("0%");
    QTest::addRow("half way") << qint64(50) << 100.0 << QStringLiteral("50%");
    QTest::addRow("all done: full track") << qint64(100) << 200.0 << QStringLiteral("100%");
    QTest::addRow("above 100 fills the track, caption as stored")
        << qint64(130) << 200.0 << QStringLiteral("130%");
    QTest::addRow("negative counts as nothing") << qint64(-5) << 0.0 << QStringLiteral("-5%");
}

void TestChangeCards::progressFillIsClampedButTheCaptionIsNot()
{
    QFETCH(qint64, percent);
    QFETCH(qreal, fill);
    QFETCH(QString, caption);

    ChangeSummary active = change(ChangeStatus::active);
    active.taskProgressPercent = percent;
    const ActiveChangeCard card(active);
    QCOMPARE(card.progressBar().fillWidth(200), fill);
    QCOMPARE(card.percentText(), caption);
}

void TestChangeCards::progressBarPaintsTheClampedFill()
{
    // At device pixel ratio 1, on a transparent image: the fill colour ends where the clamped
    // fill ends, the track colour runs on to the end.
    const auto paint = [](qint64 percent) {
        QImage image(200, 8, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        TaskProgressBar(percent, dynamicColor(1, 0, 0, 1, 1, 0, 0, 1))
            .paint(&painter, QRectF(0, 0, 200, 8), QPalette());
        return image;
    };
    const auto isFill = [](QRgb pixel) {
        return qRed(pixel) > 200 && qGreen(pixel) < 50 && qAlpha(pixel) == 255;
    };

    const QImage half = paint(50);
    QVERIFY(isFill(half.pixel(90, 4)));
    QVERIFY(!isFill(half.pixel(110, 4)));
    QVERIFY(qAlpha(half.pixel(150, 4)) > 0); // the track

    const QImage over = paint(130);
    QVERIFY(isFill(over.pixel(195, 4)));
    QCOMPARE(qAlpha(over.pixel(199, 0)), 0); // still a capsule, not a rectangle

    const QImage none = paint(0);
    QVERIFY(!isFill(none.pixel(2, 4)));
}

void TestChangeCards::openTracksAndPendingStagesShowOnTheCard_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestChangeCards::openTracksAndPendingStagesShowOnTheCard()
{
    // The faint marks are drawn straight on a card's surface; each must stand out from it by a
    // visible step in the appearance's own direction (darker on light cards, lighter on dark).
    QFETCH(Appearance, appearance);
    const QPalette palette = ThemeController::paletteFor(appearance);
    QColor card = DashboardPalette::cardFill.resolve(appearance);
    card.setAlpha(255);
    const auto strongestInk = [&](const QImage &image, const QRect &area) {
        int strongest = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int step = QColor(image.pixel(x, y)).lightness() - card.lightness();
                strongest = std::max(strongest, appearance == Appearance::light ? -step : step);
            }
        }
        return strongest;
    };

    QImage track(200, 8, QImage::Format_ARGB32_Premultiplied);
    track.fill(card);
    {
        QPainter painter(&track);
        TaskProgressBar(0, DashboardPalette::activeAccent).paint(&painter, QRectF(0, 0, 200, 8), palette);
    }
    QVERIFY2(strongestInk(track, QRect(20, 2, 160, 4)) >= 20, "empty progress track");

    // No current stage: every node pending, every connector open. Only the dot row, not the
    // labels under it.
    const WorkflowStageIndicator indicator(std::nullopt, false, false, false, false);
    QImage stages(300, WorkflowStageIndicator::height(), QImage::Format_ARGB32_Premultiplied);
    stages.fill(card);
    {
        QPainter painter(&stages);
        indicator.paint(&painter, QRectF(stages.rect()), palette);
    }
    QVERIFY2(strongestInk(stages, QRect(0, 0, 12, 12)) >= 20, "pending node");
    QVERIFY2(strongestInk(stages, QRect(40, 0, 40, 14)) >= 15, "open connector");
}

void TestChangeCards::dayStringIsPosixInTheUsersTimeZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QString>("day");

    const QDateTime thirdOfMarch(QDate(2025, 3, 3), QTime(12, 0), Qt::UTC);
    QTest::addRow("English") << QStringLiteral("en_US") << thirdOfMarch << QStringLiteral("2025-03-03");
    QTest::addRow("German") << QStringLiteral("de_DE") << thirdOfMarch << QStringLiteral("2025-03-03");
    QTest::addRow("Arabic keeps western digits")
        << QStringLiteral("ar_EG") << thirdOfMarch << QStringLiteral("2025-03-03");
    QTest::addRow("late UTC evening is the next day in Berlin")
        << QStringLiteral("en_US") << QDateTime(QDate(2025, 3, 2), QTime(23, 30), Qt::UTC)
        << QStringLiteral("2025-03-03");
}

void TestChangeCards::dayStringIsPosixInTheUsersTimeZone()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, date);
    QFETCH(QString, day);

    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    const QString shown = dayString(date);
    QLocale::setDefault(previous);
    QCOMPARE(shown, day);
}

void TestChangeCards::everyChangeCardIsAButton()
{
    ActiveChangeCard active(change(ChangeStatus::active));
    CompletedChangeRow completed(change(ChangeStatus::completed));
    DraftChangeCard draft(change(ChangeStatus::draft));
    ArchivedChangeRow archived(change(ChangeStatus::archived));
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(&active), static_cast<QAbstractButton *>(&completed),
          static_cast<QAbstractButton *>(&draft), static_cast<QAbstractButton *>(&archived)}) {
        button->resize(400, button->sizeHint().height());
        button->show();
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        // Anywhere on the card, its empty middle included.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(200, button->height() - 3));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 2);
    }
}

void TestChangeCards::missingDatesLeaveOutTheirLine()
{
    ChangeSummary dated = change(ChangeStatus::completed);
    dated.completedAt = QDateTime(QDate(2025, 3, 3), QTime(12, 0), Qt::UTC);
    const CompletedChangeRow withDate(dated);
    const CompletedChangeRow withoutDate(change(ChangeStatus::completed));
    QCOMPARE(withDate.dateText(), QStringLiteral("2025-03-03"));
    QVERIFY(withoutDate.dateText().isEmpty());
    QVERIFY(withoutDate.sizeHint().height() < withDate.sizeHint().height());

    const ArchivedChangeRow archivedWithout(change(ChangeStatus::archived));
    QVERIFY(archivedWithout.captionText().isEmpty());
    ChangeSummary unreadable = change(ChangeStatus::archived);
    unreadable.archivedAt = QDateTime();
    QVERIFY(ArchivedChangeRow(unreadable).captionText().isEmpty());
}

void TestChangeCards::archiveCaptionFollowsTheLocalisedFormat()
{
    ChangeSummary archived = change(ChangeStatus::archived);
    archived.archivedAt = QDateTime(QDate(2025, 3, 3), QTime(12, 0), Qt::UTC);
    const ArchivedChangeRow row(archived);
    QCOMPARE(row.captionText(),
             Localization::format("dashboard.archived_on_format", QStringLiteral("2025-03-03")));
    QVERIFY(row.captionText().contains(QStringLiteral("2025-03-03")));
    QVERIFY(row.captionText() != QStringLiteral("2025-03-03"));
}

void TestChangeCards::hoverTintComesAndGoesAtOnceAndLetsClicksThrough()
{
    ActiveChangeCard card(change(ChangeStatus::active));
    card.resize(400, card.sizeHint().height());
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    auto *tint = card.findChild<HoverHighlightModifier *>();
    QVERIFY(tint);
    QCOMPARE(tint->cornerRadius(), 18.0);
    QVERIFY(tint->testAttribute(Qt::WA_TransparentForMouseEvents));

    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), card.mapToGlobal(QPointF(10, 10)));
    QApplication::sendEvent(&card, &enter);
    QVERIFY(tint->isHovered());
    QVERIFY(tint->isVisible());
    QCOMPARE(tint->geometry(), card.rect());
    // The tint lies over the card, yet the pointer finds the card beneath it.
    QCOMPARE(card.childAt(100, 20), nullptr);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&card, &leave);
    QVERIFY(!tint->isHovered());
    QVERIFY(!tint->isVisible());
}

void TestChangeCards::onlyCutNamesGetATooltip_data()
{
    QTest::addColumn<int>("kind");
    QTest::addRow("active card") << int(CardKind::active);
    QTest::addRow("draft card") << int(CardKind::draft);
    QTest::addRow("completed row") << int(CardKind::completed);
    QTest::addRow("archived row") << int(CardKind::archived);
    QTest::addRow("specification card") << int(CardKind::specification);
}

void TestChangeCards::onlyCutNamesGetATooltip()
{
    QFETCH(int, kind);
    const QString longName = QStringLiteral("2026-08-03-remove-public-note-links-and-every-trace-of-them");
    const std::unique_ptr<QWidget> cut = cardOfKind(CardKind(kind), longName);
    const std::unique_ptr<QWidget> whole = cardOfKind(CardKind(kind), QStringLiteral("old"));
    for (QWidget *card : {cut.get(), whole.get()}) {
        card->resize(320, card->sizeHint().height());
        card->show();
        QVERIFY(QTest::qWaitForWindowExposed(card));
        card->repaint();
    }
    QHelpEvent onCut(QEvent::ToolTip, QPoint(60, 10), cut->mapToGlobal(QPoint(60, 10)));
    QApplication::sendEvent(cut.get(), &onCut);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), longName);

    QHelpEvent onWhole(QEvent::ToolTip, QPoint(60, 10), whole->mapToGlobal(QPoint(60, 10)));
    QApplication::sendEvent(whole.get(), &onWhole);
    QVERIFY(!onWhole.isAccepted());
    QTRY_VERIFY(!QToolTip::isVisible());

    // Widened until the name fits, the card no longer offers it.
    cut->resize(2000, cut->height());
    cut->repaint();
    QHelpEvent onWidened(QEvent::ToolTip, QPoint(60, 10), cut->mapToGlobal(QPoint(60, 10)));
    QApplication::sendEvent(cut.get(), &onWidened);
    QVERIFY(!onWidened.isAccepted());
    QVERIFY(!QToolTip::isVisible());
}

void TestChangeCards::appearanceSwitchRepaintsWithTheOtherQuadruple()
{
    ActiveChangeCard card(change(ChangeStatus::active));
    card.resize(360, card.sizeHint().height());
    // A point of the card's surface away from text, outline and corners.
    const QPoint surface(8, card.height() / 2);
    const auto surfaceColour = [&card, surface] {
        QImage image = card.grab().toImage();
        image.setDevicePixelRatio(1);
        return QColor(image.pixel(surface));
    };
    const auto close = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
               std::abs(a.blue() - b.blue()) <= 2;
    };

    card.setPalette(ThemeController::paletteFor(Appearance::dark));
    const QColor dark = surfaceColour();
    QVERIFY2(close(dark, DashboardPalette::cardFill.resolve(Appearance::dark)), qPrintable(dark.name()));

    card.setPalette(ThemeController::paletteFor(Appearance::light));
    const QColor light = surfaceColour();
    QVERIFY2(light.lightness() > 240, qPrintable(light.name()));
}

void TestChangeCards::everyCardTakesTheFocusAndShowsIt()
{
    ActiveChangeCard active(change(ChangeStatus::active));
    CompletedChangeRow completed(change(ChangeStatus::completed));
    DraftChangeCard draft(change(ChangeStatus::draft));
    ArchivedChangeRow archived(change(ChangeStatus::archived));
    // Drafts and archived changes are reached by a click too.
    QCOMPARE(draft.focusPolicy(), Qt::StrongFocus);
    QCOMPARE(archived.focusPolicy(), Qt::StrongFocus);
    for (QWidget *card : {static_cast<QWidget *>(&active), static_cast<QWidget *>(&completed),
                          static_cast<QWidget *>(&draft), static_cast<QWidget *>(&archived)}) {
        QVERIFY(card->focusPolicy() & Qt::TabFocus);
        card->resize(400, card->sizeHint().height());
        card->show();
        card->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(card));
        card->clearFocus(); // an activated window gives its widget the focus
        QTRY_VERIFY(!card->hasFocus());
        const QImage withoutFocus = card->grab().toImage();
        card->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(card->hasFocus());
        // The ring runs along the edge in the accent colour.
        const QImage withFocus = card->grab().toImage();
        const QColor accent = DashboardPalette::activeAccent.resolve(card->palette());
        const QColor edge = withFocus.pixelColor(card->width() / 2, 1);
        QVERIFY2(qAbs(edge.blue() - accent.blue()) < 40 && qAbs(edge.red() - accent.red()) < 40,
                 qPrintable(card->metaObject()->className()));
        QVERIFY(withFocus != withoutFocus);
        card->hide();
    }
}

void TestChangeCards::enterAndSpaceActivateTheButtonCards()
{
    ActiveChangeCard active(change(ChangeStatus::active));
    CompletedChangeRow completed(change(ChangeStatus::completed));
    DraftChangeCard draft(change(ChangeStatus::draft));
    ArchivedChangeRow archived(change(ChangeStatus::archived));
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(&active), static_cast<QAbstractButton *>(&completed),
          static_cast<QAbstractButton *>(&draft), static_cast<QAbstractButton *>(&archived)}) {
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(clicks.count(), 3);
        // Enter with a modifier is someone else's key.
        QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(clicks.count(), 3);
    }
}

// The change cards act, so they are buttons; the summary cards only count, so they are texts.
void TestChangeCards::cardsSayAllTheyShowAndOnlyChangesReadAsButtons()
{
    ChangeSummary activeChange = change(ChangeStatus::active);
    activeChange.taskProgressPercent = 40;
    ChangeSummary completedChange = change(ChangeStatus::completed);
    completedChange.completedAt = QDateTime(QDate(2025, 3, 3), QTime(12, 0), Qt::UTC);
    ChangeSummary draftChange = change(ChangeStatus::draft);
    draftChange.currentDraftStage = WorkflowStage::design;
    ChangeSummary archivedChange = change(ChangeStatus::archived);
    archivedChange.archivedAt = QDateTime(QDate(2025, 3, 3), QTime(12, 0), Qt::UTC);
    ActiveChangeCard active(activeChange);
    CompletedChangeRow completed(completedChange);
    DraftChangeCard draft(draftChange);
    ArchivedChangeRow archived(archivedChange);
    ArchivedChangeRow undated(change(ChangeStatus::archived));
    SummaryCardView summary(QStringLiteral("Specifications"), QStringLiteral("12"),
                            QStringLiteral("34 requirements"), QStringLiteral("doc.text"));

    const QList<QPair<QWidget *, QString>> expected = {
        {&active, QStringLiteral("add-login, Active, Tasks 40%")},
        {&completed, QStringLiteral("add-login, Completed, 2025-03-03")},
        {&draft, QStringLiteral("add-login, Draft, Design")},
        {&archived, QStringLiteral("add-login, Archived on 2025-03-03")},
        {&undated, QStringLiteral("add-login, Archived")},
        {&summary, QStringLiteral("Specifications, 12, 34 requirements")},
    };
    for (const auto &[widget, name] : expected) {
        QAccessibleInterface *card = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(card);
        QCOMPARE(card->role(), widget == &summary ? QAccessible::StaticText : QAccessible::Button);
        QCOMPARE(card->text(QAccessible::Name), name);
    }
    QCOMPARE(summary.focusPolicy(), Qt::NoFocus);
    // A new value is said too.
    summary.setValue(QStringLiteral("13"), QString());
    QCOMPARE(QAccessible::queryAccessibleInterface(&summary)->text(QAccessible::Name),
             QStringLiteral("Specifications, 13"));
}

void TestChangeCards::specMenuButtonsNameTheirSpecification()
{
    SpecCard auth(QStringLiteral("auth"), 3);
    SpecCard billing(QStringLiteral("billing"), 1);
    QCOMPARE(auth.menuButton()->accessibleName(), QStringLiteral("Show auth in File Manager"));
    QCOMPARE(billing.menuButton()->accessibleName(), QStringLiteral("Show billing in File Manager"));
    QCOMPARE(QAccessible::queryAccessibleInterface(auth.menuButton())->role(), QAccessible::Button);
}

QTEST_MAIN(TestChangeCards)
#include "tst_changecards.moc"
