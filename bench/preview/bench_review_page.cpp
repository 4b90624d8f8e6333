// The review page of a large change (20 capabilities, 50 requirements each, see
// largechangegenerator.h): the time from a finished comparison to the first screen of the page
// painted, with the page as the window shows it. Run from a Release build:
//     bench/preview/bench_review_page -platform offscreen [RUNS]
#include "benchtiming.h"
#include "largechangegenerator.h"

#include "preview/changereviewview.h"
#include "project/localfilesystem.h"
#include "review/changereview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace kestrune;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[argc - 1])) : 5;
    QTemporaryDir temporary;
    const QString project = temporary.path() + QStringLiteral("/project");
    writeLargeChange(project);
    const ChangeReview review =
        reviewChange(*LocalFileSystem::shared(), QUrl::fromLocalFile(project),
                     QUrl::fromLocalFile(project + QStringLiteral("/kestrune/changes/big-change")));
    qint64 cards = 0;
    for (const CapabilityReview &capability : review.capabilities)
        cards += capability.requirements.size();

    const double firstScreenMs = medianMs(runs, [&] {
        ChangeReviewView view({review, ChangeStatus::active, std::nullopt});
        view.resize(1000, 800);
        view.show();
        view.repaint();
    });
    std::printf("review page: %lld requirement cards in %d capabilities\n", static_cast<long long>(cards),
                int(review.capabilities.size()));
    std::printf("first screen of the review page: %7.1f ms (median of %d), target <= 100 ms: %s\n",
                firstScreenMs, runs, firstScreenMs <= 100.0 ? "yes" : "no");
    return 0;
}
