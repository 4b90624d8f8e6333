#include "markdown/document/documentmodeldisposal.h"

#include <QThreadPool>

namespace kestrune {

namespace {

// One thread, so that frees do not compete with each other for the allocator's locks.
QThreadPool &disposalThread()
{
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setMaxThreadCount(1);
        return true;
    }();
    Q_UNUSED(configured);
    return pool;
}

} // namespace

void DocumentModelDisposal::dispose(QList<BlockNode> blocks)
{
    std::vector<QList<BlockNode>> lists;
    lists.push_back(std::move(blocks));
    dispose(std::move(lists));
}

void DocumentModelDisposal::dispose(std::vector<QList<BlockNode>> lists)
{
    if (lists.empty())
        return;
    run([lists = std::move(lists)]() mutable { lists.clear(); });
}

void DocumentModelDisposal::run(std::function<void()> work)
{
    disposalThread().start(std::move(work));
}

void DocumentModelDisposal::waitForDone()
{
    disposalThread().waitForDone();
}

} // namespace kestrune
