#include "eventtrace.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMetaEnum>
#include <QThread>

#include <algorithm>
#include <ctime>

namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

QString describe(const char *className, const QString &objectName, QEvent::Type eventType)
{
    const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(eventType);
    QString text = QString::fromLatin1(className);
    if (!objectName.isEmpty())
        text += QLatin1Char('(') + objectName + QLatin1Char(')');
    return text + QLatin1Char(' ') + (type ? QString::fromLatin1(type) : QString::number(eventType));
}

} // namespace

EventTraceApplication::EventTraceApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool EventTraceApplication::notify(QObject *receiver, QEvent *event)
{
    if (!m_tracing || m_depth > 0 || QThread::currentThread() != thread())
        return QApplication::notify(receiver, event);
    // The receiver may be gone when the event has been handled (a deferred delete).
    const char *className = receiver->metaObject()->className();
    const QString objectName = receiver->objectName();
    const QEvent::Type type = event->type();
    ++m_depth;
    const double cpu = threadCpuMs();
    QElapsedTimer wall;
    wall.start();
    const bool result = QApplication::notify(receiver, event);
    const double spent = threadCpuMs() - cpu;
    --m_depth;
    if (spent >= 0.5)
        m_events.push_back({spent, double(wall.nsecsElapsed()) / 1e6, describe(className, objectName, type)});
    return result;
}

std::vector<EventTraceApplication::Event> EventTraceApplication::takeLongest(std::size_t count)
{
    std::vector<Event> events = std::move(m_events);
    m_events.clear();
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) { return a.cpuMs > b.cpuMs; });
    if (events.size() > count)
        events.resize(count);
    return events;
}
