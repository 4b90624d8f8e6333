// Building, laying out, resizing and painting the dashboard of a large project: 500 changes
// and 300 specifications. Run on the offscreen platform for figures without a display:
//
//     QT_QPA_PLATFORM=offscreen bench_dashboard
#include "dashboard/dashboardview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kestrune;

namespace {

ProjectSummary largeSummary(int changes, int specs)
{
    ProjectSummary summary;
    const ChangeStatus statuses[] = {ChangeStatus::draft, ChangeStatus::active, ChangeStatus::completed,
                                     ChangeStatus::archived};
    const QDateTime day(QDate(2025, 3, 3), QTime(12, 0));
    for (int i = 0; i < changes; ++i) {
        ChangeSummary change;
        change.id = QUuid::createUuid();
        change.changeName = QStringLiteral("change-number-%1-with-a-realistic-name").arg(i);
        change.changeDirectoryURL =
            QUrl::fromLocalFile(QStringLiteral("/projects/big/kestrune/changes/") + change.changeName);
        change.status = statuses[i % 4];
        change.currentDraftStage = allWorkflowStages()[size_t(i % 4)];
        change.hasProposal = true;
        change.hasDesign = i % 3 != 0;
        change.taskProgressPercent = i % 101;
        change.completedAt = day;
        change.archivedAt = day;
        summary.changeSummaries.append(change);
    }
    for (int i = 0; i < specs; ++i) {
        const QString name = QStringLiteral("specification-%1").arg(i, 3, 10, QLatin1Char('0'));
        summary.specNames.append(name);
        summary.specRequirementCounts.insert(name, i % 17);
    }
    summary.specCount = specs;
    summary.specReqsCount = 8 * specs;
    summary.draftCount = changes / 4;
    summary.activeChanges = changes / 4;
    summary.archivedChanges = changes / 4;
    return summary;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int changes = 500;
    const int specs = 300;
    const DashboardInput input{QStringLiteral("big"), largeSummary(changes, specs),
                               QUrl::fromLocalFile(QStringLiteral("/projects/big"))};

    std::vector<double> build, firstLayout, allCards, longestTurn, resize, paint, update;
    const int runs = 5;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto view = std::make_unique<DashboardView>(input);
        build.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        view->resize(1200, 900);
        view->show();
        QApplication::processEvents();
        firstLayout.push_back(timer.nsecsElapsed() / 1e6);

        // The cards are made a slice per turn of the event loop.
        QElapsedTimer turn;
        double longest = 0;
        while (view->isBuildingCards()) {
            turn.start();
            QApplication::processEvents();
            longest = std::max(longest, turn.nsecsElapsed() / 1e6);
        }
        allCards.push_back(timer.nsecsElapsed() / 1e6);
        longestTurn.push_back(longest);

        // A drag of the window edge: 40 widths, each laid out and painted.
        timer.restart();
        for (int step = 0; step < 40; ++step) {
            view->resize(700 + step * 25, 900);
            QApplication::processEvents();
            view->repaint();
        }
        resize.push_back(timer.nsecsElapsed() / 1e6 / 40);

        // Scrolling through the page.
        QScrollBar *bar = view->scrollArea()->verticalScrollBar();
        timer.restart();
        for (int step = 0; step < 40; ++step) {
            bar->setValue(bar->maximum() * step / 39);
            view->repaint();
        }
        paint.push_back(timer.nsecsElapsed() / 1e6 / 40);

        // A refresh publishing a new summary while the dashboard stays.
        timer.restart();
        view->setInput(input);
        QApplication::processEvents();
        update.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("dashboard of %d changes and %d specifications, median of %d runs\n", changes, specs, runs);
    std::printf("  build widgets          %8.1f ms (the page, its grids holding places for the cards)\n",
                median(build));
    std::printf("  first layout and show  %8.1f ms\n", median(firstLayout));
    std::printf("  every card made after  %8.1f ms (longest turn of the event loop %.1f ms)\n",
                median(allCards), median(longestTurn));
    std::printf("  resize step            %8.1f ms (layout and paint of one width)\n", median(resize));
    std::printf("  scroll step            %8.1f ms (paint of one scroll position)\n", median(paint));
    std::printf("  new summary            %8.1f ms (rebuild of the cards, layout)\n", median(update));
    return 0;
}
