#include "stallmeter.h"

#include <algorithm>

StallMeter::StallMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this,
            [this] { m_longest = std::max(m_longest, m_sinceTick.restart() - 1); });
    m_sinceTick.start();
    m_timer.start();
}
