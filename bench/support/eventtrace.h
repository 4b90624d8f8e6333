#pragma once

#include <QApplication>
#include <QString>

#include <vector>

// An application that times each event it hands out on its own thread (the outermost ones, with
// what they lead to), in processor time of that thread and in wall time, and keeps the longest:
// which receiver and which kind of event held the event loop. Benchmarks print them to say
// where a stall went.
class EventTraceApplication : public QApplication
{
public:
    struct Event
    {
        double cpuMs = 0;
        double wallMs = 0;
        QString what; // receiver class, object name, event type
    };

    EventTraceApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    void setTracing(bool tracing) { m_tracing = tracing; }
    // The `count` longest events since the last call, by processor time; clears them.
    std::vector<Event> takeLongest(std::size_t count);

private:
    std::vector<Event> m_events;
    int m_depth = 0;
    bool m_tracing = false;
};
