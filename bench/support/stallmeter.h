#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Watches the event loop from its construction on: a 1 ms timer that records the longest gap
// between two of its ticks, that is the longest the thread went without handling events.
//
// On a busy machine a gap is partly the thread waiting for a processor; the processor time the
// thread itself spent between two ticks is recorded too (the longest such span, and what the
// longest gap held of it), which does not depend on what else the machine runs.
class StallMeter : public QObject
{
public:
    StallMeter();

    qint64 longest() const { return std::max<qint64>(0, m_longest); }
    // The thread's own processor time in the longest gap, in microseconds.
    qint64 longestGapCpuMicroseconds() const { return m_longestGapCpu; }
    // The most processor time the thread spent between two ticks, in microseconds.
    qint64 longestCpuMicroseconds() const { return m_longestCpu; }
    // The same, in milliseconds.
    double longestProcessor() const { return double(m_longestCpu) / 1000; }
    // How long the thread waited, ready to run, for a processor in the longest gap, in
    // microseconds (the system's scheduling statistics; -1 without them).
    qint64 longestGapWaitMicroseconds() const { return m_longestGapWait; }

private:
    static qint64 threadCpuMicroseconds();
    static qint64 threadRunQueueMicroseconds();

    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_cpuAtTick = 0;
    qint64 m_waitAtTick = 0;
    qint64 m_longestGapWait = -1;
    qint64 m_longest = 0;
    qint64 m_longestGapCpu = 0;
    qint64 m_longestCpu = 0;
};
