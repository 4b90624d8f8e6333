#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <utility>

namespace kestrune {

// Hands a future's result to `take` on the receiver's thread once the future ends, and never if
// the receiver is gone by then. QFuture::then(receiver, …) of this Qt asserts in a debug build
// when its receiver is destroyed first, as a view closed while its page is laid out on the pool.
// A future that ends without a result (cancelled, or failed) is never handed on.
template <typename T, typename Take>
void deliverWhenFinished(QObject *receiver, const QFuture<T> &future, Take &&take)
{
    auto *watcher = new QFutureWatcher<T>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, take = std::forward<Take>(take)]() mutable {
                         watcher->deleteLater();
                         const QFuture<T> ended = watcher->future();
                         if (ended.isValid() && ended.resultCount() > 0)
                             take(ended.result());
                     });
    watcher->setFuture(future);
}

} // namespace kestrune
