#include "stallmeter.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

StallMeter::StallMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 gap = m_sinceTick.restart() - 1;
        const qint64 cpu = threadCpuMicroseconds();
        const qint64 spent = cpu - std::exchange(m_cpuAtTick, cpu);
        const qint64 wait = threadRunQueueMicroseconds();
        const qint64 waited = wait - std::exchange(m_waitAtTick, wait);
        if (gap > m_longest) {
            m_longest = gap;
            m_longestGapCpu = spent;
            m_longestGapWait = wait < 0 ? -1 : waited;
        }
        m_longestCpu = std::max(m_longestCpu, spent);
    });
    m_sinceTick.start();
    m_cpuAtTick = threadCpuMicroseconds();
    m_waitAtTick = threadRunQueueMicroseconds();
    m_timer.start();
}

qint64 StallMeter::threadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

qint64 StallMeter::threadRunQueueMicroseconds()
{
    // "time on the processor, time waiting to run, slices" in nanoseconds.
    std::FILE *file = std::fopen("/proc/thread-self/schedstat", "r");
    if (!file)
        return -1;
    unsigned long long running = 0;
    unsigned long long waiting = 0;
    const int read = std::fscanf(file, "%llu %llu", &running, &waiting);
    std::fclose(file);
    return read == 2 ? qint64(waiting / 1000) : -1;
}
