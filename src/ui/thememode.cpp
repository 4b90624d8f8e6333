#include "ui/thememode.h"

#include "text/rawvaluetable.h"

#include "ui/localization.h"

namespace kestrune {

namespace {

constexpr RawValueTable<ThemeMode, 3> rawValues({{
    {ThemeMode::system, "system"},
    {ThemeMode::light, "light"},
    {ThemeMode::dark, "dark"},
}});

} // namespace

QString rawValue(ThemeMode value)
{
    return rawValues.rawValue(value);
}

std::optional<ThemeMode> themeModeFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
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

QString symbolName(ThemeMode mode)
{
    switch (mode) {
    case ThemeMode::system:
        return QStringLiteral("circle.lefthalf.filled");
    case ThemeMode::light:
        return QStringLiteral("sun.max");
    case ThemeMode::dark:
        return QStringLiteral("moon");
    }
    return {};
}

} // namespace kestrune
