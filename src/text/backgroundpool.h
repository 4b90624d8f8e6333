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
    static QThreadPool *instance();
};

} // namespace kestrune
