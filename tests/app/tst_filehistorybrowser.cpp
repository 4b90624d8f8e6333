// The history of the file on show, read from a repository made in a temporary folder: the list
// follows a rename, a version chosen comes on show in the preview, a project outside git says why
// once, the outline opens a file with its list, and nothing in the repository changes.
#include "app/filehistorybrowser.h"
#include "app/maincontentview.h"
#include "app/sidebarpane.h"
#include "preview/fileversionspopup.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewversionband.h"
#include "sidebar/projecttreeview.h"
#include "testrepository.h"
#include "text/backgroundpool.h"
#include "text/daystring.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

using namespace kestrune;

namespace {} // namespace

class FileHistoryBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Localization::install(qApp, QLocale(QLocale::English));
    }

    void listFollowsTheRenameAndShowsTheVersionChosen()
    {
        TestRepository repository;
        repository.write("kestrune/specs/notes/spec.md", "# Notes\n\nfirst\n");
        repository.commit("Add notes");
        repository.write("kestrune/specs/notes/spec.md", "# Notes\n\nfirst\n\nsecond\n");
        const QString changed = repository.commit("Change notes");
        repository.moveFolder("kestrune/specs/notes", "kestrune/specs/journal");
        repository.commit("Rename notes to journal");
        repository.write("kestrune/specs/journal/spec.md", "# Journal\n\nfirst\n\nsecond\n");
        repository.commit("Retitle");
        const QStringList before = snapshotOf(repository.gitFolder());

        const QString file = repository.pathOf(QStringLiteral("kestrune/specs/journal/spec.md"));
        MarkdownPreviewView preview(QUrl::fromLocalFile(file), std::nullopt);
        preview.setProjectFolder(repository.path());
        preview.resize(700, 500);
        preview.show();
        QTRY_VERIFY(preview.state().isContent());
        FileHistoryBrowser browser;
        browser.attach(preview);
        QVERIFY(preview.isHistoryOffered());

        QSignalSpy read(&browser, &FileHistoryBrowser::historyRead);
        preview.header()->historyButton()->click();
        QPointer<FileVersionsPopup> popup = preview.versionsPopup();
        QVERIFY(popup);
        QVERIFY(read.wait());
        QVERIFY(popup->isFinished());
        const QList<FileVersionsPopup::Entry> &versions = popup->versions();
        QCOMPARE(versions.size(), 4);
        const QStringList subjects = {versions.at(0).subject, versions.at(1).subject, versions.at(2).subject,
                                      versions.at(3).subject};
        QCOMPARE(subjects, QStringList({QStringLiteral("Retitle"), QStringLiteral("Rename notes to journal"),
                                        QStringLiteral("Change notes"), QStringLiteral("Add notes")}));
        QCOMPARE(versions.at(1).renamedFrom, QStringLiteral("kestrune/specs/notes/spec.md"));
        QVERIFY(versions.at(0).renamedFrom.isEmpty());
        QVERIFY(popup->list()->item(1)->text().contains(
            QStringLiteral("renamed from kestrune/specs/notes/spec.md")));
        QCOMPARE(popup->statusLabel()->text(), QStringLiteral("4 commits"));

        // The version before the rename, read from its path then.
        popup->list()->setCurrentRow(2);
        QTest::keyClick(popup->filterField(), Qt::Key_Return);
        QTRY_VERIFY(!popup);
        QTRY_COMPARE(preview.state().text(), QStringLiteral("# Notes\n\nfirst\n\nsecond\n"));
        QVERIFY(preview.version());
        QCOMPARE(preview.version()->commit, changed);
        const QString day = dayString(QDateTime(QDate(2026, 3, 2), QTime(9, 1), Qt::OffsetFromUTC, 3600));
        QCOMPARE(preview.versionBand()->text(),
                 QStringLiteral("Version of %1, %2: Change notes").arg(day, changed.left(7)));

        preview.setComparesWithCurrent(true);
        QTRY_COMPARE(preview.changeMarks().size(), 1);
        QCOMPARE(preview.changeMarks().first().kind, ChangeMark::Kind::modified);
        preview.showCurrentText();
        QTRY_VERIFY(preview.changeMarks().isEmpty());

        QCOMPARE(snapshotOf(repository.gitFolder()), before);
    }

    void closingTheListOrAnotherFileEndsTheRead()
    {
        TestRepository repository;
        for (int index = 0; index < 40; ++index) {
            repository.write("kestrune/specs/spec.md", QByteArray("# Spec\n\n") + QByteArray::number(index));
            repository.commit("Edit " + QByteArray::number(index));
        }
        MarkdownPreviewView preview(
            QUrl::fromLocalFile(repository.pathOf(QStringLiteral("kestrune/specs/spec.md"))), std::nullopt);
        preview.setProjectFolder(repository.path());
        preview.show();
        FileHistoryBrowser browser;
        browser.attach(preview);
        preview.requestHistory();
        QVERIFY(browser.isReading() || preview.versionsPopup()->isFinished());
        preview.versionsPopup()->close();
        QTRY_VERIFY(!preview.versionsPopup());
        QTRY_VERIFY(!browser.isReading());

        preview.requestHistory();
        QPointer<FileVersionsPopup> popup = preview.versionsPopup();
        const QString other = repository.pathOf(QStringLiteral("other.md"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# Other\n");
        file.close();
        preview.setFile(QUrl::fromLocalFile(other), std::nullopt);
        QVERIFY(!popup);
        QTRY_VERIFY(!browser.isReading());
    }

    void outlineOpensTheFileWithItsHistory()
    {
        TestRepository repository;
        repository.write("kestrune/specs/notes/spec.md", "# Notes\n");
        repository.commit("Add notes");
        repository.write("kestrune/specs/notes/spec.md", "# Notes\n\nMore.\n");
        repository.commit("Say more");
        const QStringList before = snapshotOf(repository.gitFolder());
        QTemporaryDir settings;
        QTemporaryDir state;
        ThemeController theme(std::make_unique<QSettings>(settings.filePath(QStringLiteral("settings.ini")),
                                                          QSettings::IniFormat));
        MainContentView::Dependencies dependencies;
        dependencies.readingStateRoot = state.path();
        auto view = std::make_unique<MainContentView>(theme, std::move(dependencies));
        view->resize(1000, 600);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->openPaths({repository.path()});
        QTRY_VERIFY(view->outlineTree());

        const QUrl file =
            QUrl::fromLocalFile(repository.pathOf(QStringLiteral("kestrune/specs/notes/spec.md")));
        QSignalSpy read(&view->fileHistory(), &FileHistoryBrowser::historyRead);
        Q_EMIT view->sidebar()->treeView()->fileHistoryRequested(file);
        QVERIFY(read.wait());
        MarkdownPreviewView *preview = view->currentPreview();
        QVERIFY(preview);
        QCOMPARE(preview->fileURL(), file);
        QVERIFY(preview->versionsPopup());
        QCOMPARE(preview->versionsPopup()->versions().size(), 2);
        preview->versionsPopup()->close();

        view.reset();
        BackgroundPool::instance()->waitForDone();
        BackgroundPool::yielding()->waitForDone();
        MarkdownPreviewView::readPool()->waitForDone();
        QCOMPARE(snapshotOf(repository.gitFolder()), before);
    }

    void projectOutsideGitSaysWhyOnce()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("notes.md"));
        QFile notes(file);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("# Notes\n");
        notes.close();
        MarkdownPreviewView preview(QUrl::fromLocalFile(file), std::nullopt);
        preview.setProjectFolder(folder.path());
        preview.show();
        FileHistoryBrowser browser;
        browser.attach(preview);
        QVERIFY(preview.header()->historyButton()->isVisible());

        QSignalSpy read(&browser, &FileHistoryBrowser::historyRead);
        preview.requestHistory();
        QPointer<FileVersionsPopup> popup = preview.versionsPopup();
        QVERIFY(read.wait());
        QVERIFY(popup->versions().isEmpty());
        QCOMPARE(popup->statusLabel()->text(),
                 QStringLiteral("This project is not in a git work tree, so it has no history."));
        // Said once: the button is gone, in this preview and the next of the project.
        QVERIFY(!preview.header()->historyButton()->isVisible());
        MarkdownPreviewView next(QUrl::fromLocalFile(file), std::nullopt);
        next.setProjectFolder(folder.path());
        browser.attach(next);
        QVERIFY(!next.isHistoryOffered());
    }
};

QTEST_MAIN(FileHistoryBrowserTest)
#include "tst_filehistorybrowser.moc"
