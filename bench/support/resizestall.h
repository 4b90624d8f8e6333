#pragma once

#include <QtGlobal>

#include <functional>

// The longest the window's thread went without handling events, in wall time and in the
// processor time the thread spent meanwhile (see StallMeter).
struct ResizeStall
{
    qint64 wallMs = 0;
    double processorMs = 0;
    // Of the longest stall: the thread's processor time, and its wait for a processor (-1 unknown).
    double stallProcessorMs = 0;
    double stallWaitMs = -1;
};

// Drags a window's edge as a reader does: narrows it by `by` pixels in steps of 20, one a frame
// (16 ms), waits until `settled` holds (the page is laid out again), widens it back the same way
// and waits again. Returns the longest stall meanwhile.
ResizeStall resizeStall(const std::function<void(int width)> &setWidth, int width, int by,
                        const std::function<bool()> &settled, int timeoutMs = 60000);
