#include "markdown/layout/document/blockmeasuretimer_p.h"

#include <algorithm>
#include <ctime>

namespace kestrune {

void BlockMeasureTimer::start()
{
    if (!m_wall.isValid())
        m_wall.start();
    m_blockStart = m_wall.nsecsElapsed();
    if (m_blockStart - m_processorReadAt >= processorReadSpacing ||
        m_processorThread != QThread::currentThreadId()) {
        m_processorAtRead = processorMilliseconds();
        m_processorReadAt = m_blockStart;
        m_processorThread = QThread::currentThreadId();
    }
}

double BlockMeasureTimer::elapsedMilliseconds()
{
    const qint64 end = m_wall.nsecsElapsed();
    const double wall = double(end - m_blockStart) / 1e6;
    if (end - m_blockStart < processorReadSpacing)
        return wall;
    const double processor = processorMilliseconds();
    const double spent = processor - m_processorAtRead;
    m_processorAtRead = processor;
    m_processorReadAt = end;
    return std::min(wall, spent);
}

double BlockMeasureTimer::processorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace kestrune
