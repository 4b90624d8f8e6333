#include "ui/dynamiccolor.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace kestrune;

namespace {

// Counts its repaints.
class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

} // namespace

class TestThemeController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void initialModeComesFromThePreference_data();
    void initialModeComesFromThePreference();
    void choosingAModePersistsAndAppliesIt();
    void choosingTheCurrentModeAgainWritesAndAppliesAgain();
    void systemModeFollowsTheDesktop();
    void applyingRepaintsEveryWindow();
    void dynamicColorResolvesPerAppearance_data();
    void dynamicColorResolvesPerAppearance();

private:
    std::unique_ptr<QSettings> settings() const
    {
        return std::make_unique<QSettings>(m_directory->filePath(QStringLiteral("settings.ini")),
                                           QSettings::IniFormat);
    }

    std::unique_ptr<QTemporaryDir> m_directory;
};

void TestThemeController::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestThemeController::init()
{
    m_directory = std::make_unique<QTemporaryDir>();
    QVERIFY(m_directory->isValid());
}

void TestThemeController::initialModeComesFromThePreference_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<ThemeMode>("expected");
    QTest::addRow("nothing stored") << QVariant() << ThemeMode::system;
    QTest::addRow("dark") << QVariant(QStringLiteral("dark")) << ThemeMode::dark;
    QTest::addRow("light") << QVariant(QStringLiteral("light")) << ThemeMode::light;
    QTest::addRow("system") << QVariant(QStringLiteral("system")) << ThemeMode::system;
    QTest::addRow("letter case differs") << QVariant(QStringLiteral("Dark")) << ThemeMode::system;
    QTest::addRow("surrounding space is not trimmed")
        << QVariant(QStringLiteral(" dark")) << ThemeMode::system;
    QTest::addRow("empty text") << QVariant(QStringLiteral("")) << ThemeMode::system;
    QTest::addRow("another word") << QVariant(QStringLiteral("sepia")) << ThemeMode::system;
    QTest::addRow("not a text") << QVariant(QStringList{QStringLiteral("dark"), QStringLiteral("light")})
                                << ThemeMode::system;
}

void TestThemeController::initialModeComesFromThePreference()
{
    QFETCH(QVariant, stored);
    QFETCH(ThemeMode, expected);
    if (stored.isValid())
        settings()->setValue(QLatin1String(ThemeController::preferenceKey), stored);

    ThemeController controller(settings());
    QCOMPARE(controller.mode(), expected);
    // Reading never corrects the stored value.
    QCOMPARE(settings()->value(QLatin1String(ThemeController::preferenceKey)), stored);
}

void TestThemeController::choosingAModePersistsAndAppliesIt()
{
    ThemeController controller(settings());
    QCOMPARE(controller.mode(), ThemeMode::system);
    std::optional<ThemeMode> modeWhenAnnounced;
    connect(&controller, &ThemeController::modeAboutToChange, this,
            [&] { modeWhenAnnounced = controller.mode(); });
    QSignalSpy changed(&controller, &ThemeController::modeChanged);

    controller.setMode(ThemeMode::dark);
    QCOMPARE(modeWhenAnnounced, ThemeMode::system);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(settings()->value(QLatin1String(ThemeController::preferenceKey)).toString(),
             QStringLiteral("dark"));
    QCOMPARE(controller.appearance(), Appearance::dark);
    QCOMPARE(currentAppearance(), Appearance::dark);

    controller.setMode(ThemeMode::light);
    QCOMPARE(currentAppearance(), Appearance::light);
    // A new controller starts from the saved choice.
    QCOMPARE(ThemeController(settings()).mode(), ThemeMode::light);
}

void TestThemeController::choosingTheCurrentModeAgainWritesAndAppliesAgain()
{
    settings()->setValue(QLatin1String(ThemeController::preferenceKey), QStringLiteral("dark"));
    ThemeController controller(settings());
    settings()->remove(QLatin1String(ThemeController::preferenceKey));
    QSignalSpy changed(&controller, &ThemeController::modeChanged);
    QSignalSpy applied(&controller, &ThemeController::appearanceApplied);
    controller.setMode(ThemeMode::dark);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(applied.count(), 1);
    QCOMPARE(settings()->value(QLatin1String(ThemeController::preferenceKey)).toString(),
             QStringLiteral("dark"));
}

void TestThemeController::systemModeFollowsTheDesktop()
{
    ThemeController controller(settings());
    controller.setMode(ThemeMode::system);
    controller.setSystemAppearance(Appearance::dark);
    QCOMPARE(currentAppearance(), Appearance::dark);
    controller.setSystemAppearance(Appearance::light);
    QCOMPARE(currentAppearance(), Appearance::light);

    controller.setMode(ThemeMode::dark);
    controller.setSystemAppearance(Appearance::light);
    QCOMPARE(currentAppearance(), Appearance::dark);
    // Back to system: the forced appearance is dropped for the desktop's.
    controller.setMode(ThemeMode::system);
    QCOMPARE(currentAppearance(), Appearance::light);
}

void TestThemeController::applyingRepaintsEveryWindow()
{
    ThemeController controller(settings());
    PaintCounter first;
    PaintCounter second;
    first.show();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QTRY_VERIFY(first.paints > 0 && second.paints > 0);
    const int firstBefore = first.paints;
    const int secondBefore = second.paints;
    controller.setMode(controller.mode()); // the same mode: the palette does not change
    QTRY_VERIFY(first.paints > firstBefore);
    QTRY_VERIFY(second.paints > secondBefore);
}

void TestThemeController::dynamicColorResolvesPerAppearance_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QColor>("expected");
    const QColor dark = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 0.4f);
    const QColor light = QColor::fromRgbF(0.9f, 0.8f, 0.7f, 0.6f);
    QTest::addRow("dark palette gives the dark quadruple")
        << ThemeController::paletteFor(Appearance::dark) << dark;
    QTest::addRow("light palette gives the light quadruple")
        << ThemeController::paletteFor(Appearance::light) << light;
    QTest::addRow("a plain palette counts as light") << QPalette(Qt::lightGray) << light;
}

void TestThemeController::dynamicColorResolvesPerAppearance()
{
    QFETCH(QPalette, palette);
    QFETCH(QColor, expected);
    const DynamicColor color = dynamicColor(0.1f, 0.2f, 0.3f, 0.4f, 0.9f, 0.8f, 0.7f, 0.6f);
    QCOMPARE(color.resolve(palette), expected);
}

QTEST_MAIN(TestThemeController)
#include "tst_themecontroller.moc"
