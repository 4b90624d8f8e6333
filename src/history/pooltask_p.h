#pragma once

// Runs a history read on the background pool and streams its batches through a QFuture:
// QFutureWatcher::resultReadyAt tells the window of each batch, QFuture::cancel stops the read
// between two commits. QtCore alone: no Qt Concurrent.

#include "text/backgroundpool.h"

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <functional>
#include <memory>

namespace kestrune {

template <typename Result> QFuture<Result> startOnPool(std::function<void(QPromise<Result> &)> work)
{
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    BackgroundPool::instance()->start([promise, work = std::move(work)] {
        work(*promise);
        promise->finish();
    });
    return future;
}

} // namespace kestrune
