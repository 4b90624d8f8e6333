#include "app/instanceclient.h"

#include "app/instanceserver.h"

#include <QDBusMessage>

namespace kestrune {

InstanceClient::InstanceClient(const QDBusConnection &connection, const QString &serviceName)
    : m_connection(connection), m_serviceName(serviceName)
{}

QDBusPendingCall InstanceClient::send(const QStringList &paths, const QString &activationToken) const
{
    return m_connection.asyncCall(message(paths, activationToken));
}

bool InstanceClient::sendAndWait(const QStringList &paths, const QString &activationToken,
                                 int timeoutMs) const
{
    if (!m_connection.isConnected())
        return false;
    const QDBusMessage reply = m_connection.call(message(paths, activationToken), QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QDBusMessage InstanceClient::message(const QStringList &paths, const QString &activationToken) const
{
    const bool open = !paths.isEmpty();
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_serviceName, QLatin1String(InstanceServer::objectPath), QStringLiteral(KESTRUNE_APP_ID),
        open ? QStringLiteral("Open") : QStringLiteral("Activate"));
    // Only a running instance may answer; the bus is not to start one.
    call.setAutoStartService(false);
    if (open)
        call << paths;
    call << activationToken;
    return call;
}

} // namespace kestrune
