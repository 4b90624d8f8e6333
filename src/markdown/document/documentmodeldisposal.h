#pragma once

#include "markdown/document/blocknode.h"

#include <QList>

#include <functional>
#include <memory>
#include <vector>

namespace kestrune {

// Frees the models of documents that are no longer shown on a thread of their own. The model of
// a 10 MB document is millions of small allocations; freed on the window's thread, replacing the
// document would hold the window for tens of milliseconds. Whatever else still shares a list
// keeps it: only the last reference frees, wherever it is dropped.
class DocumentModelDisposal
{
public:
    static void dispose(QList<BlockNode> blocks);
    static void dispose(std::vector<QList<BlockNode>> lists);
    // Frees any other value there too (large tables that go with a model); destroying it must
    // touch nothing the window's thread uses.
    template <typename T> static void disposeValue(T value)
    {
        run([held = std::make_shared<T>(std::move(value))]() mutable { held.reset(); });
    }
    // Waits until everything handed over is freed.
    static void waitForDone();

private:
    static void run(std::function<void()> work);
};

} // namespace kestrune
