#include "markdown/layout/nodes/layoutnodedisposal_p.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/layout/nodes/layoutnode_p.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace kestrune {

namespace {

using Nodes = std::vector<std::unique_ptr<LayoutNode>>;

// Nodes are checked against the clock in groups of this many.
constexpr int nodesBetweenChecks = 32;

// Used on the thread of the event loop only: the batches handed over and not freed yet (the last
// one is freed first), how many nodes they hold, and whether a slice is on its way.
std::vector<Nodes> batches;
std::size_t pendingNodes = 0;
bool sliceScheduled = false;

void disposeSlice();

void scheduleSlice()
{
    if (sliceScheduled)
        return;
    static const bool followsTheApplication = [] {
        // What is left goes with the application, while what nodes refer to is still there.
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] {
            batches.clear();
            pendingNodes = 0;
            sliceScheduled = false;
        });
        return true;
    }();
    Q_UNUSED(followsTheApplication);
    sliceScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), disposeSlice);
}

void disposeSlice()
{
    sliceScheduled = false;
    QElapsedTimer timer;
    timer.start();
    while (!batches.empty()) {
        Nodes &nodes = batches.back();
        for (int count = 0; count < nodesBetweenChecks && !nodes.empty(); ++count) {
            nodes.pop_back();
            --pendingNodes;
        }
        if (nodes.empty())
            batches.pop_back();
        if (timer.elapsed() >= LayoutNodeDisposal::sliceMilliseconds)
            break;
    }
    if (!batches.empty())
        scheduleSlice();
}

} // namespace

void LayoutNodeDisposal::dispose(std::vector<std::unique_ptr<LayoutNode>> nodes)
{
    if (nodes.empty())
        return;
    // Without an event loop the nodes go at once.
    if (!QCoreApplication::instance()) {
        nodes.clear();
        return;
    }
    // From another thread (a page prepared or printed off the window's thread and dropped there)
    // they go to the thread that frees document models: the queue belongs to the event loop's
    // thread, and the thread dropping them is free at once for its next piece of work (a print
    // cancelled with its page laid out would otherwise spend a second freeing it).
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        DocumentModelDisposal::disposeValue(std::move(nodes));
        return;
    }
    // Not even a first slice now: whoever drops a page is often in the middle of showing another.
    // A batch is taken whole (a page's top-level nodes, perhaps null where blocks were parked),
    // so handing a page over costs nothing however long it is.
    pendingNodes += nodes.size();
    batches.push_back(std::move(nodes));
    scheduleSlice();
}

std::size_t LayoutNodeDisposal::pending()
{
    return pendingNodes;
}

} // namespace kestrune
