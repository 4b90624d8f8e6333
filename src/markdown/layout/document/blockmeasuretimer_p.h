#pragma once

#include <QElapsedTimer>
#include <QThread>

namespace kestrune {

// Times the measuring of one top-level block after another in the processor time the thread
// spent on it. What a block took decides whether measuring it again may hold the window's
// thread; read off the wall clock, a thread the system set aside meanwhile (a busy machine)
// would make any block look slow and send a whole page to the pool.
//
// The thread's processor clock is a system call of about half a microsecond, as long as
// measuring a short paragraph again: it is read at most about once a millisecond of wall time,
// and only for a block that took longer than that. Such a block's time then includes at most a
// millisecond of what the thread did before it.
class BlockMeasureTimer
{
public:
    // Before measuring a block.
    void start();
    // After measuring it: the processor time it took, in milliseconds (the wall clock's time
    // when that is shorter).
    double elapsedMilliseconds();

private:
    static constexpr qint64 processorReadSpacing = 1'000'000; // nanoseconds of wall time

    static double processorMilliseconds();

    QElapsedTimer m_wall;
    qint64 m_blockStart = 0; // wall nanoseconds
    qint64 m_processorReadAt = -processorReadSpacing;
    double m_processorAtRead = 0; // milliseconds
    // Whose clock was read last: a page prepared on a pool moves to the window's thread.
    Qt::HANDLE m_processorThread = nullptr;
};

} // namespace kestrune
