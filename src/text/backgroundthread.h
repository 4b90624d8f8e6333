#pragma once

namespace kestrune {

// Work that nobody waits for in the frame at hand (indexing a project's text, reading the
// reader's history, listing requirements) runs on threads that let the window's thread go first
// when both want a processor. On two cores, the readers of a large project just published took
// the processor from the window's thread for tens of milliseconds at a time, while it painted the
// new outline and dashboard.
class BackgroundThread
{
public:
    // How far below the threads that called it a background thread runs (see nice(2)).
    static constexpr int niceness = 10;
    // `niceness`, or the steps named by KESTRUNE_BACKGROUND_NICENESS (0 to 19) in the
    // environment. The tests run with 0: on a machine busy with other test programs, threads
    // ten steps down got a tenth of a processor and what a test waited for came seconds late.
    static int steps();

    // Lowers the calling thread by `steps()`, once in its life: a thread cannot be raised again
    // without privileges, so only a pool's own threads may call it, never the global pool's.
    static void yieldToWindow();
    // The calling thread's niceness (zero where the system cannot tell).
    static int currentNiceness();
};

} // namespace kestrune
