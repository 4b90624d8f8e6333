#include "dashboard/desktopfolderactions.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QStringList>

namespace kestrune {

void DesktopFolderActions::openFolder(const QUrl &folder)
{
    if (folder.isValid())
        QDesktopServices::openUrl(folder);
}

void DesktopFolderActions::revealItem(const QString &itemPath, const QString &rootPath)
{
    const QUrl fallback = QUrl::fromLocalFile(rootPath);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(fallback);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(itemPath).toString()} << QString();
    // The watcher belongs to the application, so the fallback still runs when the dashboard that
    // asked is gone by the time the answer comes.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [fallback](QDBusPendingCallWatcher *self) {
                         if (self->isError())
                             QDesktopServices::openUrl(fallback);
                         self->deleteLater();
                     });
}

} // namespace kestrune
