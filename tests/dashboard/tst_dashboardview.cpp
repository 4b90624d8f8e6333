#include "recordingfolderactions.h"

#include "dashboard/activechangecard.h"
#include "dashboard/adaptivegridlayout.h"
#include "dashboard/archivedchangerow.h"
#include "dashboard/changesectionheader.h"
#include "dashboard/changesectionview.h"
#include "dashboard/completedchangerow.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/dashboardview.h"
#include "dashboard/draftchangecard.h"
#include "dashboard/emptystatetext.h"
#include "dashboard/speccard.h"
#include "dashboard/speccatalogsheet.h"
#include "dashboard/specmenubutton.h"
#include "dashboard/summarycardview.h"
#include "ui/elidedlabel.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kestrune;

using Section = DashboardView::Section;

Q_DECLARE_METATYPE(kestrune::Appearance)

namespace {

// Thousands of cards built under the sanitizers on a busy machine take several seconds; the
// waits are on a condition, so a generous bound costs nothing when all is well.
constexpr int buildingCardsTimeoutMs = 60000;

ChangeSummary change(const QString &name, ChangeStatus status)
{
    ChangeSummary summary;
    summary.id = QUuid::createUuid();
    summary.changeName = name;
    summary.changeDirectoryURL =
        QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/") + name);
    summary.status = status;
    return summary;
}

ProjectSummary mixedSummary()
{
    ProjectSummary summary;
    summary.changeSummaries = {
        change(QStringLiteral("b-active"), ChangeStatus::active),
        change(QStringLiteral("z-draft"), ChangeStatus::draft),
        change(QStringLiteral("done"), ChangeStatus::completed),
        change(QStringLiteral("old"), ChangeStatus::archived),
        change(QStringLiteral("a-draft"), ChangeStatus::draft),
        change(QStringLiteral("a-active"), ChangeStatus::active),
    };
    summary.draftCount = 2;
    summary.activeChanges = 2;
    summary.archivedChanges = 1;
    summary.specNames = {QStringLiteral("auth"), QStringLiteral("billing")};
    summary.specCount = 2;
    summary.specReqsCount = 3;
    summary.specRequirementCounts.insert(QStringLiteral("auth"), 3);
    return summary;
}

DashboardInput input(const ProjectSummary &summary,
                     const QUrl &root = QUrl::fromLocalFile(QStringLiteral("/projects/shop")))
{
    return {root.fileName(), summary, root};
}

// Many changes of every status, some completed and archived with a date and some without (two
// heights of rows), and many specifications.
ProjectSummary largeSummary(int changes, int specs)
{
    ProjectSummary summary;
    const std::array<ChangeStatus, 4> statuses = {ChangeStatus::draft, ChangeStatus::active,
                                                  ChangeStatus::completed, ChangeStatus::archived};
    for (int i = 0; i < changes; ++i) {
        ChangeSummary added =
            change(QStringLiteral("change-%1").arg(i, 4, 10, QLatin1Char('0')), statuses[size_t(i % 4)]);
        if (i % 3 == 0) {
            added.completedAt = QDateTime(QDate(2025, 3, 3), QTime(12, 0));
            added.archivedAt = added.completedAt;
        }
        added.taskProgressPercent = i % 101;
        summary.changeSummaries.append(added);
    }
    for (int i = 0; i < specs; ++i) {
        const QString name = QStringLiteral("spec-%1").arg(i, 3, 10, QLatin1Char('0'));
        summary.specNames.append(name);
        summary.specRequirementCounts.insert(name, i % 13);
    }
    summary.specCount = specs;
    return summary;
}

// The cards of a type in the order Qt's focus chain goes through them.
template <typename Card> QStringList focusChainNames(QWidget *window)
{
    QStringList names;
    QWidget *widget = window;
    do {
        if (auto *card = qobject_cast<Card *>(widget))
            names.append(card->change().changeName);
        widget = widget->nextInFocusChain();
    } while (widget && widget != window);
    return names;
}

QStringList namesIn(ChangeSectionView *section)
{
    QStringList names;
    if (!section->content())
        return names;
    auto *grid = qobject_cast<AdaptiveGridLayout *>(section->content()->layout());
    for (int i = 0; grid && i < grid->count(); ++i) {
        QWidget *row = grid->itemAt(i)->widget();
        if (auto *draft = qobject_cast<DraftChangeCard *>(row))
            names.append(draft->change().changeName);
        else if (auto *active = qobject_cast<ActiveChangeCard *>(row))
            names.append(active->change().changeName);
        else if (auto *completed = qobject_cast<CompletedChangeRow *>(row))
            names.append(completed->change().changeName);
        else if (auto *archived = qobject_cast<ArchivedChangeRow *>(row))
            names.append(archived->change().changeName);
    }
    return names;
}

} // namespace

class TestDashboardView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void eachStatusLandsInItsOwnSectionInSummaryOrder();
    void emptyProjectShowsEverySectionWithItsEmptyText();
    void collapsingKeepsHeaderCountAndDivider();
    void statesSurviveNewInputButNotANewDashboard();
    void newAnalysesOfTheSameChangesKeepTheirCards();
    void changeCardsOfferTheirReview();
    void historyIsOfferedOnlyWithAHistory();
    void changeGridsFollowTheContentWidth_data();
    void changeGridsFollowTheContentWidth();
    void scrollingEndsAtTheLastBlockAtEveryWidth();
    void smallPagesHaveEveryCardAtOnce();
    void largePagesGetTheirCardsInSlicesWithoutMoving();
    void cardsOnScreenComeFirstWhereverThePageIsScrolled();
    void newAnalysesReachTheCardsStillToCome();
    void canvasGradientShowsAroundTheBlocksInBothAppearances_data();
    void canvasGradientShowsAroundTheBlocksInBothAppearances();

    void cardsOpenFoldersOrProposals();
    void revealAsksForTheSpecificationFolder();
    void revealOfASingleFileSpecificationSelectsTheFile();
    void revealDoesNothingWithoutRootOrWithAnUnsafeName_data();
    void revealDoesNothingWithoutRootOrWithAnUnsafeName();

    void summaryValuesArePlainIntegersInEveryLocale();
    void missingRequirementTotalsCountAsZero();
    void longSpecificationNameGivesWayFirst();
    void summaryCardLiftsAndSettlesWithThePointer();

    void catalogueOpensAndEveryDismissalClosesIt();
    void catalogueFollowsNewSummariesAndShowsItsEmptyText();

private:
    RecordingFolderActions::Log m_log;
};

void TestDashboardView::initTestCase()
{
    Localization::install(qApp, QLocale(QLocale::English));
}

void TestDashboardView::cleanup()
{
    m_log = {};
    QLocale::setDefault(QLocale(QLocale::English));
}

void TestDashboardView::eachStatusLandsInItsOwnSectionInSummaryOrder()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    QCOMPARE(namesIn(view.section(Section::draft)),
             (QStringList{QStringLiteral("z-draft"), QStringLiteral("a-draft")}));
    QCOMPARE(namesIn(view.section(Section::active)),
             (QStringList{QStringLiteral("b-active"), QStringLiteral("a-active")}));
    QCOMPARE(namesIn(view.section(Section::completed)), QStringList{QStringLiteral("done")});
    QCOMPARE(namesIn(view.section(Section::archive)), QStringList{QStringLiteral("old")});
    QCOMPARE(view.section(Section::draft)->header()->countText(), QStringLiteral("2"));
    QCOMPARE(view.section(Section::completed)->header()->countText(), QStringLiteral("1"));

    // Blocks in page order: summary, the four sections, then the specifications.
    const QList<ChangeSectionView *> sections = view.contentWidget()->findChildren<ChangeSectionView *>();
    QCOMPARE(sections.size(), 4);
    int previousTop = view.summaryCards()[0]->y();
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (const Section section : DashboardView::allSections) {
        QVERIFY(view.section(section)->y() > previousTop);
        previousTop = view.section(section)->y();
    }
    QVERIFY(view.specificationsTitle()->y() > previousTop);
}

void TestDashboardView::emptyProjectShowsEverySectionWithItsEmptyText()
{
    DashboardView view(input(ProjectSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    const char *emptyKeys[] = {"dashboard.empty.draft_changes", "dashboard.empty.active_changes",
                               "dashboard.empty.completed", "dashboard.empty.archived"};
    for (const Section section : DashboardView::allSections) {
        ChangeSectionView *sectionView = view.section(section);
        QCOMPARE(sectionView->header()->countText(), QStringLiteral("0"));
        auto *empty = qobject_cast<EmptyStateText *>(sectionView->content());
        QVERIFY(empty);
        QCOMPARE(empty->text(), Localization::text(emptyKeys[int(section)]));
        QCOMPARE(empty->spacing(), section == Section::archive ? EmptyStateText::Spacing::roomy
                                                               : EmptyStateText::Spacing::standard);
    }
    // The archive's empty text has 12 more points above and below.
    const auto *draftEmpty = qobject_cast<EmptyStateText *>(view.section(Section::draft)->content());
    const auto *archiveEmpty = qobject_cast<EmptyStateText *>(view.section(Section::archive)->content());
    QCOMPARE(archiveEmpty->sizeHint().height() - draftEmpty->sizeHint().height(), 24);
    QCOMPARE(archiveEmpty->textRect().top() - draftEmpty->textRect().top(), 12);

    QCOMPARE(view.specificationsTitle()->text(),
             Localization::format("dashboard.specifications.title_with_count", qint64(0)));
    auto *specEmpty = qobject_cast<EmptyStateText *>(view.specificationsBody());
    QVERIFY(specEmpty);
    QCOMPARE(specEmpty->text(), Localization::text("dashboard.empty.specifications"));
}

void TestDashboardView::collapsingKeepsHeaderCountAndDivider()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    ChangeSectionView *drafts = view.section(Section::draft);
    ChangeSectionHeader *header = drafts->header();
    QCOMPARE(header->chevronSymbol(), QStringLiteral("chevron.down"));

    // The middle of the header, between the count and the chevron, is part of the button.
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(header->width() / 2 + 100, header->height() / 2));
    QVERIFY(!view.isExpanded(Section::draft));
    QCOMPARE(drafts->content(), nullptr);
    QVERIFY(drafts->findChildren<DraftChangeCard *>().isEmpty());
    QCOMPARE(header->countText(), QStringLiteral("2"));
    QCOMPARE(header->chevronSymbol(), QStringLiteral("chevron.right"));
    QVERIFY(drafts->divider()->isVisible());
    QVERIFY(view.isExpanded(Section::active));

    QTest::mouseClick(header, Qt::LeftButton);
    QVERIFY(view.isExpanded(Section::draft));
    QCOMPARE(namesIn(drafts).size(), 2);
}

void TestDashboardView::statesSurviveNewInputButNotANewDashboard()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    QTest::mouseClick(view.section(Section::archive)->header(), Qt::LeftButton);
    QVERIFY(!view.isExpanded(Section::archive));

    ProjectSummary other = mixedSummary();
    other.changeSummaries.append(change(QStringLiteral("older"), ChangeStatus::archived));
    view.setInput(input(other, QUrl::fromLocalFile(QStringLiteral("/projects/other"))));
    QVERIFY(!view.isExpanded(Section::archive));
    QCOMPARE(view.section(Section::archive)->content(), nullptr);
    QCOMPARE(view.section(Section::archive)->header()->countText(), QStringLiteral("2"));
    QVERIFY(view.isExpanded(Section::draft));

    const DashboardView fresh(input(other), std::make_unique<RecordingFolderActions>(&m_log));
    for (const Section section : DashboardView::allSections)
        QVERIFY(fresh.isExpanded(section));
    QVERIFY(!fresh.showSpecCatalog());
}

void TestDashboardView::newAnalysesOfTheSameChangesKeepTheirCards()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    const auto cardsOf = [&view](Section section) {
        return view.section(section)->content()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    };
    const QList<QWidget *> active = cardsOf(Section::active);
    const QList<QWidget *> drafts = cardsOf(Section::draft);
    QWidget *specifications = view.specificationsBody();

    // A new scan: every id new, a task ticked, a draft one document further.
    ProjectSummary rescanned = mixedSummary();
    rescanned.changeSummaries[0].taskProgressPercent = 60;
    rescanned.changeSummaries[1].hasDesign = true;
    view.setInput(input(rescanned));
    QCOMPARE(cardsOf(Section::active), active);
    QCOMPARE(cardsOf(Section::draft), drafts);
    QCOMPARE(view.specificationsBody(), specifications);
    auto *ticked = qobject_cast<ActiveChangeCard *>(active.constFirst());
    QCOMPARE(ticked->change().changeName, QStringLiteral("b-active"));
    QCOMPARE(ticked->percentText(), QStringLiteral("60%"));
    QCOMPARE(ticked->change().id, rescanned.changeSummaries[0].id);
    QVERIFY(qobject_cast<DraftChangeCard *>(drafts.constFirst())->change().hasDesign); // z-draft

    // A change moving to another section: both sections show it where it now belongs.
    rescanned.changeSummaries[0].status = ChangeStatus::completed;
    rescanned.specNames.append(QStringLiteral("catalog"));
    view.setInput(input(rescanned));
    QCOMPARE(namesIn(view.section(Section::active)), QStringList{"a-active"});
    QCOMPARE(namesIn(view.section(Section::completed)), (QStringList{"b-active", "done"}));
    QVERIFY(view.specificationsBody() != specifications);
}

void TestDashboardView::changeCardsOfferTheirReview()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    QSignalSpy reviews(&view, &DashboardView::reviewRequested);
    for (const Section section : {Section::draft, Section::active, Section::completed}) {
        QWidget *card = view.section(section)
                            ->content()
                            ->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                            .constFirst();
        QCOMPARE(card->contextMenuPolicy(), Qt::CustomContextMenu);
        Q_EMIT card->customContextMenuRequested(QPoint(4, 4));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->actions().constFirst()->text(), Localization::text("review.action"));
        menu->actions().constFirst()->trigger();
        menu->close();
    }
    QCOMPARE(reviews.count(), 3);
    QCOMPARE(reviews.at(1).at(0).toUrl(),
             QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/b-active")));
    // An archived change is reviewed from its folder in the outline, not from its row: without
    // history its row has no menu at all.
    QWidget *archived = view.section(Section::archive)
                            ->content()
                            ->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                            .constFirst();
    Q_EMIT archived->customContextMenuRequested(QPoint(4, 4));
    QVERIFY(!QApplication::activePopupWidget());
}

void TestDashboardView::historyIsOfferedOnlyWithAHistory()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    QSignalSpy histories(&view, &DashboardView::historyRequested);
    const auto menuOf = [&view](Section section) {
        QWidget *card = view.section(section)
                            ->content()
                            ->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                            .constFirst();
        Q_EMIT card->customContextMenuRequested(QPoint(4, 4));
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };
    QMenu *menu = menuOf(Section::active);
    QVERIFY(menu);
    QVERIFY2(!menu->findChild<QAction *>(QStringLiteral("historyAction")), "a project outside git");
    menu->close();

    view.setShowsHistory(true);
    for (const Section section : DashboardView::allSections) {
        menu = menuOf(section);
        QVERIFY(menu);
        QAction *history = menu->findChild<QAction *>(QStringLiteral("historyAction"));
        QVERIFY(history);
        QCOMPARE(history->text(), Localization::text("history.action"));
        QCOMPARE(menu->actions().size(), section == Section::archive ? 1 : 2);
        history->trigger();
        menu->close();
    }
    QCOMPARE(histories.count(), 4);
    QCOMPARE(histories.at(1).at(0).toUrl(),
             QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/b-active")));
    QCOMPARE(histories.at(3).at(0).toUrl(),
             QUrl::fromLocalFile(QStringLiteral("/projects/shop/kestrune/changes/old")));
}

void TestDashboardView::changeGridsFollowTheContentWidth_data()
{
    QTest::addColumn<int>("contentWidth");
    QTest::addColumn<int>("columns");
    QTest::addRow("650 points: one column") << 650 << 1;
    QTest::addRow("654 points: two columns of 320") << 654 << 2;
}

void TestDashboardView::changeGridsFollowTheContentWidth()
{
    QFETCH(int, contentWidth);
    QFETCH(int, columns);
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.scrollArea()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(contentWidth + 2 * 28, 3000);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.contentWidget()->width(), contentWidth + 2 * 28);

    const QList<ActiveChangeCard *> cards = view.section(Section::active)->findChildren<ActiveChangeCard *>();
    QCOMPARE(cards.size(), 2);
    QCOMPARE(cards[0]->x() == cards[1]->x(), columns == 1);
    if (columns == 2) {
        QCOMPARE(cards[0]->width(), 320);
        QCOMPARE(cards[1]->x() - cards[0]->geometry().right() - 1, 14);
    } else {
        QCOMPARE(cards[0]->width(), contentWidth);
    }
}

void TestDashboardView::scrollingEndsAtTheLastBlockAtEveryWidth()
{
    // Enough cards that one column would be several times taller than the widest grid.
    ProjectSummary summary;
    const std::array<ChangeStatus, 4> statuses = {ChangeStatus::draft, ChangeStatus::active,
                                                  ChangeStatus::completed, ChangeStatus::archived};
    for (int i = 0; i < 60; ++i)
        summary.changeSummaries.append(change(QStringLiteral("change-%1").arg(i), statuses[size_t(i % 4)]));
    for (int i = 0; i < 12; ++i)
        summary.specNames.append(QStringLiteral("spec-%1").arg(i));
    summary.specCount = 12;
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(1400, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QWidget *content = view.contentWidget();
    QScrollArea *area = view.scrollArea();
    // Below the specifications come only their padding (6) and the page inset (24); wider
    // pages and narrowing ones alike, whichever way the column count last changed.
    for (const int width : {1400, 700, 420, 1400, 1000, 2000}) {
        view.resize(width, 600);
        QTRY_COMPARE(content->width(), area->viewport()->width());
        const int specBottom =
            view.specificationsBody()->mapTo(content, QPoint(0, 0)).y() + view.specificationsBody()->height();
        QTRY_COMPARE(content->height() - specBottom, 30);
        QCOMPARE(area->verticalScrollBar()->maximum(), content->height() - area->viewport()->height());
    }
}

void TestDashboardView::smallPagesHaveEveryCardAtOnce()
{
    const ProjectSummary summary = largeSummary(DashboardView::smallPageCardCount - 4, 4);
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    QVERIFY(!view.isBuildingCards());
    int cards = 0;
    for (const Section section : DashboardView::allSections)
        cards += namesIn(view.section(section)).size();
    QCOMPARE(cards, DashboardView::smallPageCardCount - 4);
    QCOMPARE(view.findChildren<SpecCard *>().size(), 4);
}

void TestDashboardView::largePagesGetTheirCardsInSlicesWithoutMoving()
{
    const ProjectSummary summary = largeSummary(1200, 150);
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    QSignalSpy built(&view, &DashboardView::cardsBuilt);
    // The page is there at once, its grids full of places for the cards to come.
    QVERIFY(view.isBuildingCards());
    for (const Section section : DashboardView::allSections)
        QCOMPARE(view.section(section)->header()->countText(), QStringLiteral("300"));
    view.resize(1000, 700);
    view.show();
    QWidget *content = view.contentWidget();
    const int height = content->height();
    const int archiveTop = view.section(Section::archive)->y();
    const int specificationsTop = view.specificationsBody()->mapTo(content, QPoint(0, 0)).y();
    QVERIFY(height > 10 * 700);

    // Nothing moves while the cards come, a few at a time.
    int turns = 0;
    while (view.isBuildingCards()) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(content->height(), height);
        QCOMPARE(view.section(Section::archive)->y(), archiveTop);
        QCOMPARE(view.specificationsBody()->mapTo(content, QPoint(0, 0)).y(), specificationsTop);
        QVERIFY(++turns < 10000);
    }
    QVERIFY(turns > 1);
    QCOMPARE(built.count(), 1);

    // Every card, in the summary's order, in its place and reached in that order by the keys.
    QStringList expected;
    for (int i = 1; i < 1200; i += 4)
        expected.append(summary.changeSummaries.at(i).changeName);
    QCOMPARE(namesIn(view.section(Section::active)), expected);
    QCOMPARE(focusChainNames<ActiveChangeCard>(&view), expected);
    QCOMPARE(view.findChildren<SpecCard *>().size(), 150);
    QCOMPARE(view.findChildren<ArchivedChangeRow *>().size(), 300);
    for (auto *card : view.findChildren<ActiveChangeCard *>()) {
        QVERIFY(card->isVisible());
        QCOMPARE(card->height(), card->sizeHint().height());
    }
    view.resize(1000, 701);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(content->height(), height);
}

void TestDashboardView::cardsOnScreenComeFirstWhereverThePageIsScrolled()
{
    const ProjectSummary summary = largeSummary(2000, 20);
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(1000, 700);
    view.show();
    // Well into the archive before any card is made.
    ChangeSectionView *archive = view.section(Section::archive);
    QScrollBar *bar = view.scrollArea()->verticalScrollBar();
    bar->setValue(archive->y() + archive->height() / 2);
    QWidget *viewport = view.scrollArea()->viewport();
    // In the first column, and in the middle of a row wherever the rows begin.
    const QList<QPoint> points = {QPoint(viewport->width() / 4, viewport->height() / 2),
                                  QPoint(viewport->width() / 4, viewport->height() / 2 + 30)};
    const auto rowOnScreen = [&] {
        for (const QPoint &point : points) {
            QWidget *found = viewport->childAt(point);
            while (found && !qobject_cast<ArchivedChangeRow *>(found))
                found = found->parentWidget();
            if (found)
                return true;
        }
        return false;
    };
    QVERIFY(!rowOnScreen());
    int turns = 0;
    while (!rowOnScreen() && ++turns < 100)
        QCoreApplication::processEvents();
    QVERIFY(rowOnScreen());
    // The sections above have hardly begun.
    auto *drafts = qobject_cast<AdaptiveGridLayout *>(view.section(Section::draft)->content()->layout());
    QVERIFY(drafts->placeholderCount() > 400);

    QTRY_VERIFY_WITH_TIMEOUT(!view.isBuildingCards(), buildingCardsTimeoutMs);
    // The focus chain still follows the page.
    QStringList archived;
    for (int i = 3; i < 2000; i += 4)
        archived.append(summary.changeSummaries.at(i).changeName);
    QCOMPARE(focusChainNames<ArchivedChangeRow>(&view), archived);
}

void TestDashboardView::newAnalysesReachTheCardsStillToCome()
{
    const ProjectSummary summary = largeSummary(800, 0);
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(1000, 700);
    view.show();
    QCoreApplication::processEvents();
    QVERIFY(view.isBuildingCards());

    // Ticked tasks and newly dated changes while most cards are still to come.
    ProjectSummary rescanned = summary;
    for (ChangeSummary &change : rescanned.changeSummaries) {
        change.taskProgressPercent = 100 - change.taskProgressPercent;
        change.completedAt = QDateTime(QDate(2025, 4, 4), QTime(9, 0));
        change.archivedAt = change.completedAt;
    }
    QWidget *archive = view.section(Section::archive)->content();
    view.setInput(input(rescanned));
    QCOMPARE(view.section(Section::archive)->content(), archive); // the same grid
    QTRY_VERIFY_WITH_TIMEOUT(!view.isBuildingCards(), buildingCardsTimeoutMs);
    const QList<ActiveChangeCard *> active = view.findChildren<ActiveChangeCard *>();
    QCOMPARE(active.size(), 200);
    for (const ActiveChangeCard *card : active) {
        const int index = card->change().changeName.mid(7).toInt();
        QCOMPARE(card->change().taskProgressPercent, rescanned.changeSummaries.at(index).taskProgressPercent);
    }
    for (const ArchivedChangeRow *row : view.findChildren<ArchivedChangeRow *>())
        QVERIFY(!row->captionText().isEmpty());

    // The page is as high as one made from the new analyses at once.
    DashboardView fresh(input(rescanned), std::make_unique<RecordingFolderActions>(&m_log));
    fresh.resize(1000, 700);
    fresh.show();
    QTRY_VERIFY_WITH_TIMEOUT(!fresh.isBuildingCards(), buildingCardsTimeoutMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QTRY_COMPARE(view.contentWidget()->height(), fresh.contentWidget()->height());
}

void TestDashboardView::canvasGradientShowsAroundTheBlocksInBothAppearances_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestDashboardView::canvasGradientShowsAroundTheBlocksInBothAppearances()
{
    QFETCH(Appearance, appearance);
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.setPalette(ThemeController::paletteFor(appearance));
    view.scrollArea()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Taller than the page, so both far corners are bare canvas.
    view.resize(900, 2400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage image = view.grab().toImage();

    const auto near = [](QColor actual, QColor expected) {
        return std::abs(actual.red() - expected.red()) <= 1 &&
               std::abs(actual.green() - expected.green()) <= 1 &&
               std::abs(actual.blue() - expected.blue()) <= 1;
    };
    const QColor top = image.pixelColor(2, 2);
    const QColor bottom = image.pixelColor(image.width() - 3, image.height() - 3);
    QVERIFY2(near(top, DashboardPalette::canvasTop.resolve(appearance)), qPrintable(top.name()));
    QVERIFY2(near(bottom, DashboardPalette::canvasBottom.resolve(appearance)), qPrintable(bottom.name()));
    QVERIFY(top != bottom);
}

// Active and completed changes open their folder; a draft or an archived change asks for its
// proposal to be read (by the mouse, Space or Enter), or opens its folder while it has none.
void TestDashboardView::cardsOpenFoldersOrProposals()
{
    ProjectSummary summary = mixedSummary();
    for (ChangeSummary &change : summary.changeSummaries)
        change.hasProposal = change.changeName != QLatin1String("z-draft");
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(900, 1400);
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QSignalSpy proposals(&view, &DashboardView::fileRequested);
    QList<QPair<QWidget *, ChangeSummary>> cards;
    for (auto *draft : view.findChildren<DraftChangeCard *>())
        cards.append({draft, draft->change()});
    for (auto *archived : view.findChildren<ArchivedChangeRow *>())
        cards.append({archived, archived->change()});
    QList<QUrl> expected;
    for (const auto key : {Qt::Key_Space, Qt::Key_Return}) {
        for (const auto &[card, change] : cards) {
            if (!change.hasProposal)
                continue;
            card->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(card->hasFocus());
            QTest::keyClick(card, key);
            expected.append(QUrl::fromLocalFile(change.changeDirectoryURL.toLocalFile() +
                                                QStringLiteral("/proposal.md")));
        }
    }
    QCOMPARE(expected.size(), 4);
    QCOMPARE(proposals.size(), 4);
    for (qsizetype index = 0; index < proposals.size(); ++index)
        QCOMPARE(proposals.at(index).constFirst().toUrl(), expected.at(index));
    auto *archived = view.findChildren<ArchivedChangeRow *>().constFirst();
    QTest::mouseClick(archived, Qt::LeftButton, {}, QPoint(archived->width() / 2, archived->height() / 2));
    QCOMPARE(proposals.size(), 5);
    QVERIFY(m_log.opened.isEmpty());
    for (auto *draft : view.findChildren<DraftChangeCard *>()) {
        if (draft->change().changeName == QLatin1String("z-draft"))
            QTest::keyClick(draft, Qt::Key_Space);
    }
    QCOMPARE(m_log.opened, QList<QUrl>{summary.changeSummaries.at(1).changeDirectoryURL});
    m_log.opened.clear();

    auto *active = view.findChildren<ActiveChangeCard *>().constFirst();
    QTest::mouseClick(active, Qt::LeftButton, {}, QPoint(active->width() / 2, active->height() - 4));
    auto *completed = view.findChildren<CompletedChangeRow *>().constFirst();
    QTest::mouseClick(completed, Qt::LeftButton, {}, QPoint(completed->width() / 2, completed->height() / 2));
    QCOMPARE(m_log.opened,
             (QList<QUrl>{active->change().changeDirectoryURL, completed->change().changeDirectoryURL}));
    QVERIFY(m_log.revealed.isEmpty());
}

void TestDashboardView::revealAsksForTheSpecificationFolder()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    SpecCard *auth = view.findChildren<SpecCard *>().constFirst();
    QCOMPARE(auth->name(), QStringLiteral("auth"));
    QCOMPARE(auth->revealAction()->text(), Localization::text("dashboard.open_in_finder"));
    auth->revealAction()->trigger();
    QCOMPARE(m_log.revealed.size(), 1);
    QCOMPARE(m_log.revealed[0].first, QStringLiteral("/projects/shop/kestrune/specs/auth"));
    QCOMPARE(m_log.revealed[0].second, QStringLiteral("/projects/shop"));
}

void TestDashboardView::revealOfASingleFileSpecificationSelectsTheFile()
{
    QTemporaryDir project;
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("kestrune/specs/auth")));
    QFile file(project.filePath(QStringLiteral("kestrune/specs/search.md")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    DashboardView view(input(mixedSummary(), QUrl::fromLocalFile(project.path() + QLatin1Char('/'))),
                       std::make_unique<RecordingFolderActions>(&m_log));
    view.revealSpecFolder(QStringLiteral("auth"));
    view.revealSpecFolder(QStringLiteral("search"));
    QCOMPARE(m_log.revealed.size(), 2);
    QCOMPARE(m_log.revealed[0].first, project.filePath(QStringLiteral("kestrune/specs/auth")));
    QCOMPARE(m_log.revealed[1].first, project.filePath(QStringLiteral("kestrune/specs/search.md")));
    QCOMPARE(m_log.revealed[1].second, project.path());
}

void TestDashboardView::revealDoesNothingWithoutRootOrWithAnUnsafeName_data()
{
    QTest::addColumn<QUrl>("root");
    QTest::addColumn<QString>("name");
    const QUrl shop = QUrl::fromLocalFile(QStringLiteral("/projects/shop"));
    QTest::addRow("no project root") << QUrl() << QStringLiteral("auth");
    QTest::addRow("parent folder") << shop << QStringLiteral("..");
    QTest::addRow("a path instead of a name") << shop << QStringLiteral("../../etc");
    QTest::addRow("empty name") << shop << QString();
}

void TestDashboardView::revealDoesNothingWithoutRootOrWithAnUnsafeName()
{
    QFETCH(QUrl, root);
    QFETCH(QString, name);
    DashboardView view(input(mixedSummary(), root), std::make_unique<RecordingFolderActions>(&m_log));
    view.revealSpecFolder(name);
    QVERIFY(m_log.revealed.isEmpty());
    QVERIFY(m_log.opened.isEmpty());
}

void TestDashboardView::summaryValuesArePlainIntegersInEveryLocale()
{
    for (const char *locale : {"en_US", "de_DE", "fr_FR"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        ProjectSummary summary;
        summary.specCount = 1234;
        summary.draftCount = 20000;
        summary.activeChanges = -3;
        summary.specReqsCount = 5678;
        for (int i = 0; i < 1234; ++i) {
            summary.changeSummaries.append(change(QStringLiteral("c%1").arg(i), ChangeStatus::archived));
            summary.specNames.append(QStringLiteral("s%1").arg(i));
        }
        summary.specRequirementCounts.insert(QStringLiteral("s0"), 1001);
        DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
        // Thousands of cards come a slice at a time.
        QTRY_VERIFY_WITH_TIMEOUT(!view.isBuildingCards(), buildingCardsTimeoutMs);
        QCOMPARE(view.summaryCards()[0]->value(), QStringLiteral("1234"));
        QCOMPARE(view.summaryCards()[1]->value(), QStringLiteral("20000"));
        QCOMPARE(view.summaryCards()[2]->value(), QStringLiteral("-3"));
        QCOMPARE(view.section(Section::archive)->header()->countText(), QStringLiteral("1234"));
        // The counts inside texts follow the cards.
        QCOMPARE(view.summaryCards()[0]->subtext(), QStringLiteral("5678 requirements"));
        QCOMPARE(view.specificationsTitle()->text(), QStringLiteral("Specifications (1234)"));
        QCOMPARE(view.findChild<SpecCard *>()->requirementText(), QStringLiteral("1001 requirements"));
    }
}

void TestDashboardView::missingRequirementTotalsCountAsZero()
{
    ProjectSummary summary = mixedSummary();
    summary.specReqsCount.reset();
    DashboardView view(input(summary), std::make_unique<RecordingFolderActions>(&m_log));
    QCOMPARE(view.summaryCards()[0]->subtext(),
             Localization::format("dashboard.summary.reqs_format", qint64(0)));
    QVERIFY(view.summaryCards()[0]->subtext().contains(QLatin1Char('0')));
    for (int i = 1; i < 4; ++i)
        QVERIFY(view.summaryCards()[size_t(i)]->subtext().isEmpty());

    // "billing" has no entry of its own.
    const QList<SpecCard *> cards = view.findChildren<SpecCard *>();
    QCOMPARE(cards.size(), 2);
    QCOMPARE(cards[1]->requirementText(), Localization::format("dashboard.summary.reqs_format", qint64(0)));
    QCOMPARE(cards[0]->requirementText(), Localization::format("dashboard.summary.reqs_format", qint64(3)));
}

void TestDashboardView::longSpecificationNameGivesWayFirst()
{
    SpecCard card(QStringLiteral("a-specification-with-a-name-far-too-long-for-any-card-on-the-dashboard"),
                  12);
    card.resize(340, card.sizeHint().height());
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    QVERIFY(card.shownName().endsWith(QChar(0x2026)));
    QVERIFY(card.shownName().startsWith(QStringLiteral("a-spec")));
    // The menu button keeps its 24 × 24 square at the trailing padding.
    QCOMPARE(card.menuButton()->geometry().size(), QSize(24, 24));
    QCOMPARE(card.width() - card.menuButton()->geometry().right() - 1, 10);
    QVERIFY(card.minimumSizeHint().width() < 340);
}

void TestDashboardView::summaryCardLiftsAndSettlesWithThePointer()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    SummaryCardView *card = view.summaryCards()[1];
    QCOMPARE(card->cardRect().height(), SummaryCardView::cardHeight);
    QCOMPARE(card->liftProgress(), 0.0);

    const QPointF inside = card->cardRect().center();
    QEnterEvent enter(inside, inside, card->mapToGlobal(inside));
    QApplication::sendEvent(card, &enter);
    QVERIFY(card->isHovered());
    QTRY_COMPARE(card->liftProgress(), 1.0);

    // The room around the card does not count as the card.
    QTest::mouseMove(card, card->cardRect().topLeft() - QPoint(6, 6));
    QVERIFY(!card->isHovered());
    QTRY_COMPARE(card->liftProgress(), 0.0);
}

void TestDashboardView::catalogueOpensAndEveryDismissalClosesIt()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.resize(900, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy shown(&view, &DashboardView::specCatalogShownChanged);

    QTest::mouseClick(view.viewCatalogButton(), Qt::LeftButton);
    QVERIFY(view.showSpecCatalog());
    QPointer<SpecCatalogSheet> sheet = view.specCatalogSheet();
    QVERIFY(sheet && sheet->isVisible());
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet->list()->topLevelItemCount(), 2);
    QCOMPARE(sheet->list()->topLevelItem(1)->text(0), QStringLiteral("billing"));
    QCOMPARE(sheet->list()->topLevelItem(1)->text(1),
             Localization::format("dashboard.summary.reqs_format", qint64(0)));

    QTest::mouseClick(sheet->doneButton(), Qt::LeftButton);
    QVERIFY(!view.showSpecCatalog());
    QTRY_VERIFY(!sheet);

    // Escape dismisses it too, and the state follows.
    view.setShowSpecCatalog(true);
    sheet = view.specCatalogSheet();
    QVERIFY(sheet && sheet->isVisible());
    QTest::keyClick(sheet, Qt::Key_Escape);
    QVERIFY(!view.showSpecCatalog());
    QTRY_VERIFY(!sheet);

    // And closing the window.
    view.setShowSpecCatalog(true);
    sheet = view.specCatalogSheet();
    sheet->close();
    QVERIFY(!view.showSpecCatalog());
    QCOMPARE(shown.count(), 6);
}

void TestDashboardView::catalogueFollowsNewSummariesAndShowsItsEmptyText()
{
    DashboardView view(input(mixedSummary()), std::make_unique<RecordingFolderActions>(&m_log));
    view.show();
    view.setShowSpecCatalog(true);
    SpecCatalogSheet *sheet = view.specCatalogSheet();
    QVERIFY(sheet->list()->isVisible());

    view.setInput(input(ProjectSummary()));
    QCOMPARE(view.specCatalogSheet(), sheet);
    QVERIFY(view.showSpecCatalog());
    QVERIFY(!sheet->list()->isVisible());
    QVERIFY(sheet->emptyText()->isVisible());
    QCOMPARE(sheet->emptyText()->text(), Localization::text("dashboard.spec_catalog.empty"));
    QCOMPARE(sheet->emptyText()->alignment(), Qt::AlignCenter);
    view.setShowSpecCatalog(false);
    QVERIFY(!sheet->isVisible());
}

QTEST_MAIN(TestDashboardView)
#include "tst_dashboardview.moc"
