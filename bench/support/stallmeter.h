#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Watches the event loop from its construction on: a 1 ms timer that records the longest gap
// between two of its ticks, that is the longest the thread went without handling events.
class StallMeter : public QObject
{
public:
    StallMeter();

    qint64 longest() const { return std::max<qint64>(0, m_longest); }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
};
