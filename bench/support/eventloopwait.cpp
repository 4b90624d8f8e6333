#include "eventloopwait.h"

#include <QEventLoop>
#include <QTimer>

void runUntil(const std::function<bool()> &done, int intervalMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(intervalMs);
    if (!done())
        loop.exec();
}

void runFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
