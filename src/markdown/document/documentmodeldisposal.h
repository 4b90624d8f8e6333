#pragma once

#include "markdown/document/blocknode.h"

#include <QList>

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
    // Waits until everything handed over is freed.
    static void waitForDone();
};

} // namespace kestrune
