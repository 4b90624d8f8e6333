#include "text/backgroundthread.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrune {

namespace {

id_t currentThreadId()
{
    return id_t(syscall(SYS_gettid));
}

} // namespace

int BackgroundThread::steps()
{
    static const int chosen = [] {
        bool valid = false;
        const int named = qEnvironmentVariableIntValue("KESTRUNE_BACKGROUND_NICENESS", &valid);
        return valid && named >= 0 && named <= 19 ? named : niceness;
    }();
    return chosen;
}

void BackgroundThread::yieldToWindow()
{
    // On Linux a niceness belongs to a thread: the rest of the process keeps its own.
    static thread_local const bool lowered = [] {
        const int lowest = 19;
        return setpriority(PRIO_PROCESS, currentThreadId(), std::min(lowest, currentNiceness() + steps())) ==
               0;
    }();
    static_cast<void>(lowered);
}

int BackgroundThread::currentNiceness()
{
    errno = 0;
    const int value = getpriority(PRIO_PROCESS, currentThreadId());
    return errno == 0 ? value : 0;
}

} // namespace kestrune
