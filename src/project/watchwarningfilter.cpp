#include "project/watchwarningfilter.h"

#include <QString>

#include <atomic>

namespace kestrune {

namespace {

std::atomic<QtMessageHandler> previousHandler = nullptr;
std::atomic<int> heldBackCount = 0;

void holdBackRefusedPaths(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("inotify_add_watch("))) {
        ++heldBackCount;
        return;
    }
    if (const QtMessageHandler previous = previousHandler.load())
        previous(type, context, message);
}

} // namespace

WatchWarningFilter::WatchWarningFilter()
{
    heldBackCount = 0;
    m_previous = qInstallMessageHandler(holdBackRefusedPaths);
    previousHandler = m_previous;
}

WatchWarningFilter::~WatchWarningFilter()
{
    qInstallMessageHandler(m_previous);
    previousHandler = nullptr;
}

int WatchWarningFilter::heldBack() const
{
    return heldBackCount;
}

} // namespace kestrune
