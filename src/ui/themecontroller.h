#pragma once

#include "ui/appearance.h"
#include "ui/thememode.h"

#include <QObject>
#include <QPalette>

#include <memory>
#include <optional>

class QSettings;

namespace kestrune {

// Holds the theme mode, persists it under "ui.theme.mode" and pushes it to the application.
// One controller lives for the whole process; the application object creates it and hands it to
// the views that need the mode (the theme menu, the outline). Colours do not need the
// controller: they resolve against the palette it installs (see DynamicColor).
class ThemeController : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *preferenceKey = "ui.theme.mode";

    // Reads the saved mode from the application's settings. Neither writes the preference nor
    // applies the appearance.
    explicit ThemeController(QObject *parent = nullptr);
    // The same, with the preference kept in the given settings (tests use a temporary file).
    explicit ThemeController(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    ~ThemeController() override;

    ThemeMode mode() const { return m_mode; }
    // Publishes the mode (modeAboutToChange while the old one is still current, then
    // modeChanged), writes the preference and applies the appearance. Assigning the current
    // mode again does all of that too.
    void setMode(ThemeMode mode);

    // Installs the palette of the appearance the mode asks for and repaints every window.
    void applyAppearance();
    // The appearance installed by the last applyAppearance.
    Appearance appearance() const { return m_appearance; }

    // The desktop's preferred colour scheme, followed in system mode; nothing when the desktop
    // states no preference, in which case the platform palette's lightness decides.
    void setSystemAppearance(std::optional<Appearance> appearance);
    std::optional<Appearance> systemAppearance() const { return m_systemAppearance; }

    // The application palette of each appearance.
    static QPalette paletteFor(Appearance appearance);

Q_SIGNALS:
    void modeAboutToChange(ThemeMode newMode);
    void modeChanged(ThemeMode mode);
    void appearanceApplied(Appearance appearance);

private:
    Appearance appearanceForMode() const;

    std::unique_ptr<QSettings> m_settings;
    ThemeMode m_mode = ThemeMode::system;
    Appearance m_appearance = Appearance::light;
    std::optional<Appearance> m_systemAppearance;
    Appearance m_platformAppearance = Appearance::light;
};

} // namespace kestrune
