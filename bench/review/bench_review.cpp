// Review of a large change: a change touching 20 capabilities with 50 requirements each (40
// modified, 5 added, 5 removed), against current specifications of 50 requirements each. Times
// the whole review (listing, reading, parsing, comparing) and applying every delta on top.
#include "benchtiming.h"
#include "largechangegenerator.h"

#include "project/localfilesystem.h"
#include "review/changereview.h"
#include "review/specificationmerge.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace kestrune;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString project = temporary.path() + QStringLiteral("/project");
    const qint64 bytes = writeLargeChange(project);
    const QUrl root = QUrl::fromLocalFile(project);
    const QUrl change = QUrl::fromLocalFile(project + QStringLiteral("/kestrune/changes/big-change"));
    const FileSystem &fileSystem = *LocalFileSystem::shared();

    ChangeReview review = reviewChange(fileSystem, root, change); // warm the cache
    const int runs = 7;
    const double reviewMs = medianMs(runs, [&] { review = reviewChange(fileSystem, root, change); });
    qsizetype mergedBytes = 0;
    const double mergeMs = medianMs(runs, [&] {
        mergedBytes = 0;
        for (const CapabilityReview &capability : review.capabilities)
            mergedBytes += SpecificationMerge::apply(capability.specification, capability.delta).text.size();
    });

    std::printf("change: %d capabilities, %lld added, %lld modified, %lld removed; %.1f KB of Markdown\n",
                int(review.capabilities.size()), static_cast<long long>(review.counts.added),
                static_cast<long long>(review.counts.modified), static_cast<long long>(review.counts.removed),
                double(bytes) / 1024);
    std::printf("review (read, parse, compare): %7.1f ms (median of %d), target <= 50 ms: %s\n", reviewMs,
                runs, reviewMs <= 50.0 ? "yes" : "no");
    std::printf("apply every delta:             %7.1f ms (median of %d), %lld characters\n", mergeMs, runs,
                static_cast<long long>(mergedBytes));
    return review.hasFindings() ? 1 : 0;
}
