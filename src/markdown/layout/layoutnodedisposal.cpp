#include "markdown/layout/layoutnodedisposal_p.h"

#include "markdown/layout/layoutnode_p.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace kestrune {

namespace {

using Nodes = std::vector<std::unique_ptr<LayoutNode>>;

// Nodes are checked against the clock in groups of this many.
constexpr int nodesBetweenChecks = 32;

std::size_t pendingNodes = 0; // used on the thread of the event loop only

void disposeSlice(const std::shared_ptr<Nodes> &nodes)
{
    QElapsedTimer timer;
    timer.start();
    while (!nodes->empty()) {
        for (int count = 0; count < nodesBetweenChecks && !nodes->empty(); ++count) {
            nodes->pop_back();
            --pendingNodes;
        }
        if (timer.elapsed() >= LayoutNodeDisposal::sliceMilliseconds)
            break;
    }
    if (!nodes->empty())
        QTimer::singleShot(0, QCoreApplication::instance(), [nodes] { disposeSlice(nodes); });
}

} // namespace

void LayoutNodeDisposal::dispose(std::vector<std::unique_ptr<LayoutNode>> nodes)
{
    if (nodes.empty())
        return;
    if (!QCoreApplication::instance()) {
        nodes.clear();
        return;
    }
    pendingNodes += nodes.size();
    // Not even a first slice now: whoever drops a page is often in the middle of showing another.
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [nodes = std::make_shared<Nodes>(std::move(nodes))] { disposeSlice(nodes); });
}

std::size_t LayoutNodeDisposal::pending()
{
    return pendingNodes;
}

} // namespace kestrune
