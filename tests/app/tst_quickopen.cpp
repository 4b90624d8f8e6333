// Quick open as the reader uses it: typing narrows and ranks the list, the keys move through it,
// Enter and a click open the chosen entry, "#" looks for requirements, a list refreshed while
// open keeps the chosen row, and in the window Ctrl+P opens a file or a requirement's heading.
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/recentprojects.h"
#include "preview/markdownpreviewview.h"
#include "quickopen/quickopencontroller.h"
#include "quickopen/quickopenlistmodel.h"
#include "quickopen/quickopenpopup.h"
#include "search/requirementindex.h"
#include "text/backgroundpool.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

namespace {

QuickOpenEntry entry(QuickOpenEntry::Kind kind, const QString &text, bool archived = false)
{
    QuickOpenEntry e;
    e.kind = kind;
    e.matchText = text;
    e.title = text.section(QLatin1Char('/'), -1);
    e.titleOffset = text.size() - e.title.size();
    e.folder = text.first(std::max<qsizetype>(0, e.titleOffset - 1));
    e.projectRoot = QUrl::fromLocalFile(QStringLiteral("/p"));
    e.target = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/") + text);
    e.isArchived = archived;
    if (kind == QuickOpenEntry::Kind::requirement) {
        e.fragment =
            QStringLiteral("requirement-") + text.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
        e.target = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/specs/auth/spec.md"));
        e.capability = QStringLiteral("auth");
        e.deltaType = archived ? std::optional(DeltaSpecType::removed) : std::nullopt;
    }
    return e;
}

QStringList shownTitles(const QuickOpenPopup &popup)
{
    QStringList titles;
    for (int row = 0; row < popup.model()->rowCount(); ++row)
        titles.append(popup.model()->entryAt(row).title);
    return titles;
}

void writeFile(const QString &path, const QByteArray &content, const QDateTime &modified = QDateTime())
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.flush();
    if (modified.isValid())
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class TestQuickOpen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        BackgroundPool::instance()->setMaxThreadCount(8);
    }

    void typingNarrowsAndTheKeysMoveAndOpen()
    {
        QWidget window;
        window.resize(900, 700);
        window.show();
        QuickOpenPopup *popup = new QuickOpenPopup(&window);
        popup->setEntries({entry(QuickOpenEntry::Kind::file, u"changes/add-login/tasks.md"_qs),
                           entry(QuickOpenEntry::Kind::file, u"changes/add-login/proposal.md"_qs),
                           entry(QuickOpenEntry::Kind::change, u"add-login"_qs),
                           entry(QuickOpenEntry::Kind::file, u"specs/tags/spec.md"_qs),
                           entry(QuickOpenEntry::Kind::requirement, u"Login with a passkey"_qs)});
        popup->popUp(&window);
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QSignalSpy chosen(popup, &QuickOpenPopup::entryChosen);
        // No query: every file, change and specification, no requirement.
        QCOMPARE(popup->model()->rowCount(), 4);

        QTest::keyClicks(popup->searchField(), u"addl"_qs);
        QCOMPARE(shownTitles(*popup), (QStringList{u"add-login"_qs, u"tasks.md"_qs, u"proposal.md"_qs}));
        // The row marks the letters matched: a, d, d, l of "add-login".
        QCOMPARE(popup->model()->matchedPositions(0), (QList<qsizetype>{0, 1, 2, 4}));
        QCOMPARE(popup->model()->detailText(1), u"changes/add-login"_qs);

        QTest::keyClicks(popup->searchField(), u"prop"_qs);
        QCOMPARE(shownTitles(*popup), QStringList{u"proposal.md"_qs});
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QCOMPARE(popup->model()->rowCount(), 3);

        QCOMPARE(popup->list()->currentIndex().row(), 0);
        QTest::keyClick(popup->searchField(), Qt::Key_Down);
        QTest::keyClick(popup->searchField(), Qt::Key_Down);
        QTest::keyClick(popup->searchField(), Qt::Key_Down); // stays on the last row
        QCOMPARE(popup->list()->currentIndex().row(), 2);
        QTest::keyClick(popup->searchField(), Qt::Key_PageUp);
        QCOMPARE(popup->list()->currentIndex().row(), 0);
        QTest::keyClick(popup->searchField(), Qt::Key_Down);
        QTest::keyClick(popup->searchField(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        const auto opened = chosen.constFirst().constFirst().value<QuickOpenEntry>();
        QCOMPARE(opened.target, QUrl::fromLocalFile(u"/p/kestrune/changes/add-login/tasks.md"_qs));
        QVERIFY(!popup->isVisible());
    }

    void hashLooksForRequirementsAndAClickOpens()
    {
        QWidget window;
        window.resize(900, 700);
        window.show();
        QPointer<QuickOpenPopup> popup = new QuickOpenPopup(&window);
        popup->setEntries({entry(QuickOpenEntry::Kind::file, u"specs/login/spec.md"_qs),
                           entry(QuickOpenEntry::Kind::requirement, u"Log out everywhere"_qs, true),
                           entry(QuickOpenEntry::Kind::requirement, u"Login with a passkey"_qs),
                           entry(QuickOpenEntry::Kind::requirement, u"Sign in"_qs)});
        popup->popUp(&window);
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QSignalSpy chosen(popup.data(), &QuickOpenPopup::entryChosen);
        QTest::keyClicks(popup->searchField(), u"#login"_qs);
        QCOMPARE(shownTitles(*popup), QStringList{u"Login with a passkey"_qs});
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QTest::keyClick(popup->searchField(), Qt::Key_Backspace);
        QCOMPARE(shownTitles(*popup), (QStringList{u"Login with a passkey"_qs, u"Log out everywhere"_qs}));
        QVERIFY(popup->model()
                    ->data(popup->model()->index(1), Qt::AccessibleDescriptionRole)
                    .toString()
                    .startsWith(u"REMOVED"_qs));
        // Nothing matches: the list gives way to a note.
        QTest::keyClicks(popup->searchField(), u"zzz"_qs);
        QCOMPARE(popup->model()->rowCount(), 0);
        QTest::keyClick(popup->searchField(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 0);
        popup->searchField()->setText(u"#"_qs);
        QCOMPARE(popup->model()->rowCount(), 3);

        const QRect second = popup->list()->visualRect(popup->model()->index(1));
        QTest::mouseClick(popup->list()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(chosen.size(), 1);
        const auto opened = chosen.constFirst().constFirst().value<QuickOpenEntry>();
        QCOMPARE(opened.fragment, u"requirement-login-with-a-passkey"_qs);
        QTRY_VERIFY(!popup); // closed and deleted
    }

    void newEntriesKeepTheChosenRow()
    {
        QWidget window;
        window.show();
        QuickOpenPopup popup(&window);
        QList<QuickOpenEntry> entries = {entry(QuickOpenEntry::Kind::file, u"a/notes.md"_qs),
                                         entry(QuickOpenEntry::Kind::file, u"b/notes.md"_qs),
                                         entry(QuickOpenEntry::Kind::file, u"c/notes.md"_qs)};
        popup.setEntries(entries);
        popup.searchField()->setText(u"notes"_qs);
        popup.list()->setCurrentIndex(popup.model()->index(2));
        QCOMPARE(popup.currentEntry()->matchText, u"c/notes.md"_qs);
        // A file added that ranks first, another edited (same key): the chosen one stays chosen.
        entries.prepend(entry(QuickOpenEntry::Kind::file, u"notes.md"_qs));
        entries[3].title = u"notes.md"_qs;
        popup.setEntries(entries);
        QCOMPARE(popup.model()->rowCount(), 4);
        QCOMPARE(popup.currentEntry()->matchText, u"c/notes.md"_qs);
        // The chosen file gone: the best row is chosen.
        entries.removeLast();
        popup.setEntries(entries);
        QCOMPARE(popup.list()->currentIndex().row(), 0);
    }

    void windowOpensFilesAndRequirementHeadings()
    {
        QTemporaryDir settings;
        ThemeController theme(
            std::make_unique<QSettings>(settings.filePath(u"s.ini"_qs), QSettings::IniFormat));
        RecentProjects recent(
            std::make_unique<QSettings>(settings.filePath(u"s.ini"_qs), QSettings::IniFormat));
        QTemporaryDir folder;
        const QString root = folder.filePath(u"demo"_qs);
        QByteArray spec = "# Tags\n\n## Requirements\n\n";
        for (int index = 0; index < 30; ++index) {
            spec += "### Requirement" + QByteArray(index == 20 ? "：" : ": ") + "Rule number " +
                    QByteArray::number(index) + "\n\n";
            for (int paragraph = 0; paragraph < 4; ++paragraph)
                spec += "The system SHALL do a thing that takes a long line of text to say, again.\n\n";
        }
        writeFile(root + u"/kestrune/specs/tags/spec.md"_qs, spec);
        writeFile(root + u"/kestrune/changes/add-colour/proposal.md"_qs, "# Colour\n");
        writeFile(root + u"/kestrune/changes/add-colour/specs/tags/spec.md"_qs,
                  "## ADDED Requirements\n\n### Requirement: Colour a tag\n\nText.\n");

        MainWindow window(theme, recent);
        MainContentView *view = window.contentView();
        window.resize(1100, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.commands().quickOpen()->isEnabled());
        QCOMPARE(window.commands().quickOpen()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        const QUrl rootUrl = QUrl::fromLocalFile(root);
        view->importFolder(rootUrl);
        QTRY_VERIFY_WITH_TIMEOUT(view->store().treeForProject(rootUrl), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window.quickOpen().requirementIndex().entriesOf(rootUrl).size(), 31, 10000);
        QVERIFY(window.commands().quickOpen()->isEnabled());

        window.commands().quickOpen()->trigger();
        QuickOpenPopup *popup = window.quickOpen().popup();
        QVERIFY(popup);
        QTest::keyClicks(popup->searchField(), u"prop"_qs);
        QCOMPARE(popup->currentEntry()->title, u"proposal.md"_qs);
        QTest::keyClick(popup->searchField(), Qt::Key_Return);
        QVERIFY(view->selectedNode());
        QCOMPARE(view->selectedNode()->url,
                 QUrl::fromLocalFile(root + u"/kestrune/changes/add-colour/proposal.md"_qs));

        window.commands().quickOpen()->trigger();
        popup = window.quickOpen().popup();
        QTest::keyClicks(popup->searchField(), u"#rule number 20"_qs);
        QCOMPARE(popup->currentEntry()->title, u"Rule number 20"_qs);
        QTest::keyClick(popup->searchField(), Qt::Key_Enter);
        const QUrl specUrl = QUrl::fromLocalFile(root + u"/kestrune/specs/tags/spec.md"_qs);
        QCOMPARE(view->selectedNode()->url, specUrl);
        // The preview lands on the heading: the one the reader is in is the requirement's.
        MarkdownPreviewView *preview = view->currentPreview();
        QVERIFY(preview);
        QTRY_VERIFY_WITH_TIMEOUT(!preview->headings().isEmpty(), 10000);
        const QList<HeadingOutline::Heading> headings = preview->headings();
        const auto target =
            std::find_if(headings.cbegin(), headings.cend(), [](const HeadingOutline::Heading &h) {
                return h.text == u"Requirement：Rule number 20"_qs;
            });
        QVERIFY(target != headings.cend());
        QTRY_COMPARE_WITH_TIMEOUT(preview->currentHeading(), int(target - headings.cbegin()), 10000);
        // Every requirement's entry names a heading the preview knows.
        for (const QuickOpenEntry &requirement : window.quickOpen().requirementIndex().entriesOf(rootUrl)) {
            if (requirement.target != specUrl)
                continue;
            QVERIFY2(std::any_of(headings.cbegin(), headings.cend(),
                                 [&](const HeadingOutline::Heading &h) {
                                     return h.identifier == requirement.fragment;
                                 }),
                     qPrintable(requirement.fragment));
        }

        // A file changed on disk: the open popup lists its new requirement, and keeps its row.
        window.commands().quickOpen()->trigger();
        popup = window.quickOpen().popup();
        QTest::keyClicks(popup->searchField(), u"#colour"_qs);
        QCOMPARE(popup->model()->rowCount(), 1);
        writeFile(
            root + u"/kestrune/changes/add-colour/specs/tags/spec.md"_qs,
            "## ADDED Requirements\n\n### Requirement: Colour a tag\n\n### Requirement: Colour the list\n",
            QDateTime::currentDateTime().addSecs(10));
        view->store().refreshProject(rootUrl);
        QTRY_COMPARE_WITH_TIMEOUT(popup->model()->rowCount(), 2, 10000);
        QCOMPARE(popup->currentEntry()->title, u"Colour a tag"_qs);
        QCOMPARE(popup->currentEntry()->deltaType, DeltaSpecType::added);
        QTest::keyClick(popup->searchField(), Qt::Key_Escape);
        QTRY_VERIFY(!window.quickOpen().popup());
    }
};

QTEST_MAIN(TestQuickOpen)
#include "tst_quickopen.moc"
