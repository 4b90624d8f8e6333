#pragma once

#include <QtGlobal>

namespace kestrune {

// While one is alive, the warning Qt's file system watcher prints for every path the system
// refuses to watch ("inotify_add_watch(...) failed: ...") is held back and counted, so that the
// watcher can say once that the limit was reached instead of once per path (hundreds of lines for
// a large project). Every other message goes on to the handler in place before. Made and ended on
// one thread around QFileSystemWatcher::addPaths; one at a time.
class WatchWarningFilter
{
public:
    WatchWarningFilter();
    ~WatchWarningFilter();
    WatchWarningFilter(const WatchWarningFilter &) = delete;
    WatchWarningFilter &operator=(const WatchWarningFilter &) = delete;

    // How many warnings of refused paths were held back so far.
    int heldBack() const;

private:
    QtMessageHandler m_previous;
};

} // namespace kestrune
