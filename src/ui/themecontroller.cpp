#include "ui/themecontroller.h"

#include "ui/dynamiccolor.h"

#include <QApplication>
#include <QSettings>
#include <QWidget>

namespace kestrune {

namespace {

// The appearance of the platform's own palette, taken before this program installs one.
Appearance platformAppearance()
{
    static const Appearance appearance = appearanceOf(QGuiApplication::palette());
    return appearance;
}

ThemeMode readMode(const QSettings &settings)
{
    const QVariant value = settings.value(QLatin1String(ThemeController::preferenceKey));
    if (value.typeId() != QMetaType::QString)
        return ThemeMode::system;
    return themeModeFromRawValue(value.toString()).value_or(ThemeMode::system);
}

} // namespace

ThemeController::ThemeController(QObject *parent) : ThemeController(std::make_unique<QSettings>(), parent) {}

ThemeController::ThemeController(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_mode(readMode(*m_settings)),
      m_platformAppearance(platformAppearance())
{
    m_appearance = appearanceForMode();
}

ThemeController::~ThemeController() = default;

void ThemeController::setMode(ThemeMode mode)
{
    Q_EMIT modeAboutToChange(mode);
    m_mode = mode;
    Q_EMIT modeChanged(mode);
    m_settings->setValue(QLatin1String(preferenceKey), rawValue(mode));
    m_settings->sync();
    applyAppearance();
}

void ThemeController::applyAppearance()
{
    m_appearance = appearanceForMode();
    QApplication::setPalette(paletteFor(m_appearance));
    // The palette change reaches every widget; repaint the windows explicitly as well, so that
    // re-applying an unchanged palette still redraws.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->update();
    Q_EMIT appearanceApplied(m_appearance);
}

void ThemeController::setSystemAppearance(std::optional<Appearance> appearance)
{
    if (m_systemAppearance == appearance)
        return;
    m_systemAppearance = appearance;
    if (m_mode == ThemeMode::system)
        applyAppearance();
}

Appearance ThemeController::appearanceForMode() const
{
    switch (m_mode) {
    case ThemeMode::light:
        return Appearance::light;
    case ThemeMode::dark:
        return Appearance::dark;
    case ThemeMode::system:
        break;
    }
    return m_systemAppearance.value_or(m_platformAppearance);
}

QPalette ThemeController::paletteFor(Appearance appearance)
{
    // Opaque forms of the shell's colours, for the parts of the program that paint through the
    // style (menus, dialogs, scroll bars, tree indicators).
    const bool dark = appearance == Appearance::dark;
    const auto rgb = [](float r, float g, float b, float a = 1.0f) { return QColor::fromRgbF(r, g, b, a); };
    const QColor window = dark ? rgb(0.03f, 0.06f, 0.11f) : rgb(0.93f, 0.95f, 0.98f);
    const QColor base = dark ? rgb(0.07f, 0.10f, 0.16f) : rgb(1.0f, 1.0f, 1.0f);
    const QColor alternateBase = dark ? rgb(0.09f, 0.13f, 0.20f) : rgb(0.95f, 0.96f, 0.98f);
    const QColor button = dark ? rgb(0.11f, 0.15f, 0.22f) : rgb(0.96f, 0.97f, 0.99f);
    const QColor text = dark ? rgb(0.93f, 0.94f, 0.96f) : rgb(0.12f, 0.16f, 0.22f);
    const QColor muted = dark ? rgb(0.62f, 0.65f, 0.70f) : rgb(0.38f, 0.43f, 0.52f);
    const QColor accent = dark ? rgb(0.28f, 0.60f, 1.0f) : rgb(0.23f, 0.50f, 0.95f);

    QPalette palette(button, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, alternateBase);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, muted);
    palette.setColor(QPalette::BrightText, dark ? rgb(1, 1, 1) : rgb(0, 0, 0));
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, rgb(1, 1, 1));
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::LinkVisited, accent.darker(120));
    palette.setColor(QPalette::Light, dark ? button.lighter(160) : rgb(1, 1, 1));
    palette.setColor(QPalette::Midlight, dark ? button.lighter(130) : button.darker(105));
    palette.setColor(QPalette::Mid, dark ? button.lighter(115) : button.darker(125));
    palette.setColor(QPalette::Dark, dark ? rgb(0.01f, 0.02f, 0.04f) : button.darker(150));
    palette.setColor(QPalette::Shadow, rgb(0, 0, 0));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        QColor disabled = text;
        disabled.setAlphaF(0.4f);
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, muted);
    return palette;
}

} // namespace kestrune
