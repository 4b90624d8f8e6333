#include "app/instanceserver.h"

#include <QDBusConnectionInterface>

#include <string_view>

namespace kestrune {

// The interface is named in the class information, where only a literal can stand.
static_assert(std::string_view(KESTRUNE_APP_ID) == "org.kestrune.KestruneViewer");

InstanceServer::InstanceServer(const QDBusConnection &connection, const QString &serviceName, QObject *parent)
    : QObject(parent), m_connection(connection), m_serviceName(serviceName)
{}

InstanceServer::~InstanceServer()
{
    if (!m_listening)
        return;
    m_connection.unregisterObject(QLatin1String(objectPath));
    m_connection.unregisterService(m_serviceName);
}

bool InstanceServer::listen()
{
    if (m_listening)
        return true;
    QDBusConnectionInterface *bus = m_connection.isConnected() ? m_connection.interface() : nullptr;
    if (!bus)
        return false;
    // The object first, so that a call arriving the moment the name is taken finds it.
    if (!m_connection.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(m_serviceName, QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        m_connection.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    m_listening = true;
    return true;
}

void InstanceServer::Open(const QStringList &paths, const QString &activationToken)
{
    Q_EMIT openRequested(paths, activationToken);
}

void InstanceServer::Activate(const QString &activationToken)
{
    Q_EMIT openRequested({}, activationToken);
}

} // namespace kestrune
