#pragma once

#include "ui/appearance.h"

#include <QObject>

#include <optional>

class QDBusVariant;

namespace kestrune {

// The colour scheme the desktop prefers, read from the settings portal on the session bus
// ("color-scheme" in "org.freedesktop.appearance") and followed through its change signal.
// Without a session bus or a portal it reports no preference and stays quiet.
class DesktopColorScheme : public QObject
{
    Q_OBJECT

public:
    explicit DesktopColorScheme(QObject *parent = nullptr);

    // Asks the portal, waiting a short while at most; nothing when it states no preference or
    // cannot be reached.
    std::optional<Appearance> read() const;
    // Starts listening for changes; preferenceChanged reports each one.
    void watch();

    // The portal's value: 1 prefers dark, 2 prefers light, anything else states no preference.
    static std::optional<Appearance> fromPortalValue(uint value);

Q_SIGNALS:
    void preferenceChanged(std::optional<Appearance> appearance);

private Q_SLOTS:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);
};

} // namespace kestrune
