#pragma once

#include <ctime>

namespace kestrune {

// The processor time the calling thread has used, in milliseconds. What a block took to measure
// decides whether measuring it again may hold the window's thread; read off a wall clock, a
// thread the system set aside meanwhile (a busy machine) would make any block look slow.
class ThreadProcessorClock
{
public:
    static double milliseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
};

} // namespace kestrune
