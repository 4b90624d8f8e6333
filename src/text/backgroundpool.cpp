#include "text/backgroundpool.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace kestrune {

QThreadPool *BackgroundPool::instance()
{
    // Never destroyed: a task may still hold it when static objects go.
    static QThreadPool *const pool = [] {
        auto *created = new QThreadPool;
        created->setObjectName(QStringLiteral("kestruneBackground"));
        qAddPostRoutine([] { instance()->waitForDone(); });
        return created;
    }();
    return pool;
}

QThreadPool *BackgroundPool::yielding()
{
    static QThreadPool *const pool = [] {
        auto *created = new QThreadPool;
        created->setObjectName(QStringLiteral("kestruneYielding"));
        qAddPostRoutine([] { yielding()->waitForDone(); });
        return created;
    }();
    return pool;
}

} // namespace kestrune
