#include "ui/desktopcolorscheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace kestrune {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Start-up waits for the answer so that the first frame is drawn in the right appearance; a
// desktop that does not answer quickly is treated as stating no preference.
constexpr int readTimeoutMs = 300;

// The portal wraps the value in one or two variants, depending on its version.
QVariant unwrap(QVariant value)
{
    for (int depth = 0; depth < 3 && value.canConvert<QDBusVariant>() &&
                        value.metaType() == QMetaType::fromType<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}

std::optional<Appearance> fromVariant(const QVariant &wrapped)
{
    const QVariant value = unwrap(wrapped);
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return DesktopColorScheme::fromPortalValue(scheme);
}

} // namespace

DesktopColorScheme::DesktopColorScheme(QObject *parent) : QObject(parent) {}

std::optional<Appearance> DesktopColorScheme::read() const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    call << appearanceGroup << colorSchemeKey;
    const QDBusMessage reply = bus.call(call, QDBus::Block, readTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return fromVariant(reply.arguments().constFirst());
}

void DesktopColorScheme::watch()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
}

std::optional<Appearance> DesktopColorScheme::fromPortalValue(uint value)
{
    switch (value) {
    case 1:
        return Appearance::dark;
    case 2:
        return Appearance::light;
    default:
        return std::nullopt;
    }
}

void DesktopColorScheme::onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != appearanceGroup || key != colorSchemeKey)
        return;
    Q_EMIT preferenceChanged(fromVariant(value.variant()));
}

} // namespace kestrune
