#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace kestrune {

// The user's choice of appearance. The raw values are what the preference stores.
enum class ThemeMode
{
    system,
    light,
    dark
};

QString rawValue(ThemeMode mode);
// Exactly "system", "light" or "dark" (case-sensitive, not trimmed); nothing otherwise.
std::optional<ThemeMode> themeModeFromRawValue(QStringView raw);
// The label of the mode in the theme menu, in the user's language.
QString displayName(ThemeMode mode);
// The name of the symbol that stands for the mode (SymbolIcon).
QString symbolName(ThemeMode mode);

// Every mode in menu order.
constexpr std::array<ThemeMode, 3> allThemeModes()
{
    return {ThemeMode::system, ThemeMode::light, ThemeMode::dark};
}

} // namespace kestrune
