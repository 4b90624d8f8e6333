#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace kestrune {

// The running program's door on the session bus. It owns the bus name of the application id
// (KESTRUNE_APP_ID) and serves this object at `objectPath`, with the interface of the same
// name, so that the program started again while it runs hands over what it was asked to open
// (InstanceClient) and ends:
//
//     Open(as paths, s activationToken)   open the paths (absolute) and raise the window
//     Activate(s activationToken)         raise the window
//
// The activation token is the one the desktop gave the new start (XDG_ACTIVATION_TOKEN), which
// lets the running window take the focus on Wayland; it may be empty.
class InstanceServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kestrune.KestruneViewer")

public:
    static constexpr const char *objectPath = "/org/kestrune/KestruneViewer";

    explicit InstanceServer(const QDBusConnection &connection,
                            const QString &serviceName = QStringLiteral(KESTRUNE_APP_ID),
                            QObject *parent = nullptr);
    // Gives the name and the object up.
    ~InstanceServer() override;

    // Takes the bus name and serves the object. False when there is no bus or another process
    // holds the name already (that process is the running instance).
    bool listen();
    bool isListening() const { return m_listening; }

    // What the bus calls; the D-Bus method names.
public Q_SLOTS:
    Q_SCRIPTABLE void Open(const QStringList &paths, const QString &activationToken);
    Q_SCRIPTABLE void Activate(const QString &activationToken);

Q_SIGNALS:
    // Paths may be empty: then the window is only to be raised.
    void openRequested(const QStringList &paths, const QString &activationToken);

private:
    QDBusConnection m_connection;
    QString m_serviceName;
    bool m_listening = false;
};

} // namespace kestrune
