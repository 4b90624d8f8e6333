#include "ui/thememode.h"

#include "ui/localization.h"

namespace kestrune {

QString rawValue(ThemeMode mode)
{
    switch (mode) {
    case ThemeMode::system:
        return QStringLiteral("system");
    case ThemeMode::light:
        return QStringLiteral("light");
    case ThemeMode::dark:
        return QStringLiteral("dark");
    }
    return {};
}

std::optional<ThemeMode> themeModeFromRawValue(QStringView raw)
{
    for (ThemeMode mode : allThemeModes()) {
        if (raw == rawValue(mode))
            return mode;
    }
    return std::nullopt;
}

QString displayName(ThemeMode mode)
{
    switch (mode) {
    case ThemeMode::system:
        return Localization::text("theme.system");
    case ThemeMode::light:
        return Localization::text("theme.light");
    case ThemeMode::dark:
        return Localization::text("theme.dark");
    }
    return {};
}

} // namespace kestrune
