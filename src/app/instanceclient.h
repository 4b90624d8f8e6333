#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QStringList>

namespace kestrune {

// The program started again while it runs: hands what it was asked to open to the running
// instance's InstanceServer over the session bus.
class InstanceClient
{
public:
    explicit InstanceClient(const QDBusConnection &connection,
                            const QString &serviceName = QStringLiteral(KESTRUNE_APP_ID));

    // Calls Open with the paths, or Activate when there are none. The reply carries no value;
    // an error means that no instance took the request.
    QDBusPendingCall send(const QStringList &paths, const QString &activationToken) const;
    // The same, waiting for the reply: true when the running instance took the paths. Gives up
    // after `timeoutMs`, for an instance that hangs.
    bool sendAndWait(const QStringList &paths, const QString &activationToken, int timeoutMs = 10000) const;

private:
    QDBusMessage message(const QStringList &paths, const QString &activationToken) const;

    QDBusConnection m_connection;
    QString m_serviceName;
};

} // namespace kestrune
