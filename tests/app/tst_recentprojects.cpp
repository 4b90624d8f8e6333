#include "app/recentprojects.h"
#include "app/recentprojectsmenu.h"
#include "ui/localization.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

class TestRecentProjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void addingPutsAFolderFirstAndOnce();
    void onlyTheTenMostRecentAreKept();
    void removingAndClearing();
    void theListOutlivesTheProgram();
    void aListFromTheSettingsIsCleanedWhenRead();
    void foldersThatAreGoneAreMissing();
    void menuShowsTheProjectsMostRecentFirst();
    void menuReportsTheChosenProjectAndClears();
    void menuFollowsTheListAndTheDisk();

private:
    std::unique_ptr<RecentProjects> makeRecent() const;
    QString folder(const QString &name) const;
    static QStringList texts(const QMenu &menu);

    std::unique_ptr<QTemporaryDir> m_home;
};

void TestRecentProjects::initTestCase()
{
    Localization::install(qApp, QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestRecentProjects::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

std::unique_ptr<RecentProjects> TestRecentProjects::makeRecent() const
{
    return std::make_unique<RecentProjects>(
        std::make_unique<QSettings>(m_home->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
}

// A folder that exists, below the temporary home.
QString TestRecentProjects::folder(const QString &name) const
{
    QDir(m_home->path()).mkpath(name);
    return m_home->filePath(name);
}

QStringList TestRecentProjects::texts(const QMenu &menu)
{
    QStringList texts;
    const auto actions = menu.actions();
    for (const QAction *action : actions)
        texts.append(action->isSeparator() ? QStringLiteral("---") : action->text());
    return texts;
}

void TestRecentProjects::addingPutsAFolderFirstAndOnce()
{
    const auto recent = makeRecent();
    QSignalSpy changes(recent.get(), &RecentProjects::changed);
    recent->add(QStringLiteral("/p/a"));
    recent->add(QStringLiteral("/p/b"));
    recent->add(QStringLiteral("/p/c/"));
    QCOMPARE(recent->paths(), (QStringList{"/p/c", "/p/b", "/p/a"}));
    recent->add(QStringLiteral("/p/a"));
    QCOMPARE(recent->paths(), (QStringList{"/p/a", "/p/c", "/p/b"}));
    QCOMPARE(changes.count(), 4);
    recent->add(QStringLiteral("/p/a")); // first already
    QCOMPARE(changes.count(), 4);
}

void TestRecentProjects::onlyTheTenMostRecentAreKept()
{
    const auto recent = makeRecent();
    for (int i = 1; i <= 12; ++i)
        recent->add(QStringLiteral("/p/%1").arg(i));
    QCOMPARE(recent->paths().size(), RecentProjects::maximumCount);
    QCOMPARE(recent->paths().constFirst(), QStringLiteral("/p/12"));
    QCOMPARE(recent->paths().constLast(), QStringLiteral("/p/3"));
}

void TestRecentProjects::removingAndClearing()
{
    const auto recent = makeRecent();
    recent->add(QStringLiteral("/p/a"));
    recent->add(QStringLiteral("/p/b"));
    QSignalSpy changes(recent.get(), &RecentProjects::changed);
    recent->remove(QStringLiteral("/p/elsewhere"));
    QCOMPARE(changes.count(), 0);
    recent->remove(QStringLiteral("/p/a"));
    QCOMPARE(recent->paths(), QStringList{QStringLiteral("/p/b")});
    recent->clear();
    QVERIFY(recent->paths().isEmpty());
    QCOMPARE(changes.count(), 2);
    recent->clear();
    QCOMPARE(changes.count(), 2);
}

void TestRecentProjects::theListOutlivesTheProgram()
{
    makeRecent()->add(QStringLiteral("/p/a"));
    {
        const auto recent = makeRecent();
        recent->add(QStringLiteral("/p/b"));
    }
    const auto again = makeRecent();
    QCOMPARE(again->paths(), (QStringList{"/p/b", "/p/a"}));
    again->clear();
    QVERIFY(makeRecent()->paths().isEmpty());
    QSettings settings(m_home->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QVERIFY(!settings.contains(QLatin1String(RecentProjects::settingsKey)));
}

void TestRecentProjects::aListFromTheSettingsIsCleanedWhenRead()
{
    QStringList stored = {"/p/a/", "relative/b", "/p/a", ""};
    for (int i = 1; i <= 12; ++i)
        stored.append(QStringLiteral("/q/%1").arg(i));
    {
        QSettings settings(m_home->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        settings.setValue(QLatin1String(RecentProjects::settingsKey), stored);
    }
    const QStringList paths = makeRecent()->paths();
    QCOMPARE(paths.size(), RecentProjects::maximumCount);
    QCOMPARE(paths.mid(0, 3), (QStringList{"/p/a", "/q/1", "/q/2"}));
}

void TestRecentProjects::foldersThatAreGoneAreMissing()
{
    const auto recent = makeRecent();
    const QString present = folder(QStringLiteral("present"));
    recent->add(m_home->filePath(QStringLiteral("gone")));
    recent->add(present);
    const QList<RecentProjects::Entry> entries = recent->entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).path, present);
    QVERIFY(entries.at(0).exists);
    QVERIFY(!entries.at(1).exists);
}

void TestRecentProjects::menuShowsTheProjectsMostRecentFirst()
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home->path()));
    const auto recent = makeRecent();
    recent->add(QStringLiteral("/elsewhere/gone"));
    recent->add(folder(QStringLiteral("R&D")));
    recent->add(folder(QStringLiteral("code/app")));
    RecentProjectsMenu menu(*recent);
    qputenv("HOME", home);

    QCOMPARE(menu.title(), QStringLiteral("Open Recent"));
    QCOMPARE(texts(menu),
             (QStringList{"~/code/app", "~/R&&D", "/elsewhere/gone (missing)", "---", "Clear Menu"}));
    const auto actions = menu.actions();
    QCOMPARE(actions.at(0)->data().toString(), m_home->filePath(QStringLiteral("code/app")));
    QVERIFY(actions.at(0)->isEnabled());
    QVERIFY(actions.at(1)->isEnabled());
    QVERIFY(!actions.at(2)->isEnabled());
    QVERIFY(actions.at(4)->isEnabled());
}

void TestRecentProjects::menuReportsTheChosenProjectAndClears()
{
    const auto recent = makeRecent();
    const QString app = folder(QStringLiteral("app"));
    recent->add(app);
    RecentProjectsMenu menu(*recent);
    QSignalSpy chosen(&menu, &RecentProjectsMenu::projectChosen);
    menu.actions().constFirst()->trigger();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), app);

    QAction *clear = menu.findChild<QAction *>(QStringLiteral("clearRecentProjects"));
    QVERIFY(clear);
    clear->trigger();
    QVERIFY(recent->paths().isEmpty());
    QCOMPARE(texts(menu), (QStringList{"No Recent Projects", "---", "Clear Menu"}));
    QVERIFY(!menu.actions().at(0)->isEnabled());
    QVERIFY(!menu.actions().at(2)->isEnabled());
}

void TestRecentProjects::menuFollowsTheListAndTheDisk()
{
    const auto recent = makeRecent();
    RecentProjectsMenu menu(*recent);
    QCOMPARE(texts(menu).size(), 3); // empty
    const QString app = folder(QStringLiteral("app"));
    recent->add(app);
    QCOMPARE(texts(menu).size(), 3);
    QVERIFY(menu.actions().constFirst()->isEnabled());

    // Gone while the menu was closed: marked when it opens.
    QVERIFY(QDir(app).removeRecursively());
    menu.popup(QPoint(0, 0));
    QVERIFY(!menu.actions().constFirst()->isEnabled());
    QVERIFY(menu.actions().constFirst()->text().endsWith(QLatin1String(" (missing)")));
    menu.close();
}

QTEST_MAIN(TestRecentProjects)
#include "tst_recentprojects.moc"
