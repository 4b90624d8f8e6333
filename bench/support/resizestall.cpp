#include "resizestall.h"

#include "eventloopwait.h"
#include "stallmeter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int stepPixels = 20;
constexpr int frameMs = 16;

// Steps the width from `from` to `to`, a step a frame, then runs the loop until settled.
void drag(const std::function<void(int)> &setWidth, int from, int to, const std::function<bool()> &settled,
          QElapsedTimer &clock, int timeoutMs)
{
    int width = from;
    QEventLoop loop;
    QTimer frames;
    frames.setInterval(frameMs);
    QObject::connect(&frames, &QTimer::timeout, &loop, [&] {
        width = from < to ? std::min(to, width + stepPixels) : std::max(to, width - stepPixels);
        setWidth(width);
        if (width == to)
            loop.quit();
    });
    frames.start();
    loop.exec();
    frames.stop();
    // Waits as the window does, asleep between events: a loop spinning on processEvents held a
    // processor the pool laying the page out needed.
    runUntil([&] { return settled() || clock.elapsed() >= timeoutMs; });
}

} // namespace

ResizeStall resizeStall(const std::function<void(int width)> &setWidth, int width, int by,
                        const std::function<bool()> &settled, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    StallMeter stalls;
    drag(setWidth, width, width - by, settled, clock, timeoutMs);
    drag(setWidth, width - by, width, settled, clock, timeoutMs);
    const qint64 waited = stalls.longestGapWaitMicroseconds();
    return {stalls.longest(), stalls.longestProcessor(), double(stalls.longestGapCpuMicroseconds()) / 1000,
            waited < 0 ? -1.0 : double(waited) / 1000};
}
