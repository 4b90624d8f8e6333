#pragma once

class QThreadPool;

namespace kestrune {

// The program's own threads for work off the window's thread: scans, reads, searches, the
// freeing of large trees. Qt's global pool is left to Qt: its raster engine splits a large fill
// over that pool's threads and waits for them on the window's thread, so a scan queued there held
// the next paint of the window until the scan's task ended (15 ms at a large project's import).
class BackgroundPool
{
public:
    // As many threads as the machine has processors, kept for the life of the process; the
    // application waits for the work they have taken as it ends, as it does for Qt's own pool.
    // For work a reader waits for: a scan, a search, a find, a history.
    static QThreadPool *instance();
    // As many threads again, for what follows a publication and nobody waits for in the frame at
    // hand: watching the new folders, indexing, listing the quick-open entries, freeing old
    // trees. Each task begins with BackgroundThread::yieldToWindow(), so that every thread of the
    // pool runs lowered, whenever it was started. On two cores that work took the processor from
    // the window's thread for 12 ms while it painted a large project's first outline and dashboard.
    static QThreadPool *yielding();
};

} // namespace kestrune
