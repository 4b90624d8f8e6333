// An earlier version of the file on show: read-only under its band, compared with the current
// text (added, modified and removed blocks marked in both modes), and back to the current text.
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewversionband.h"
#include "preview/sourcetextview.h"
#include "ui/localization.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrune;

namespace {

const QByteArray currentText =
    "# Title\n\nKept paragraph.\n\nChanged paragraph, now longer.\n\n- A new item\n";
const QByteArray versionText = "# Title\n\nRemoved paragraph.\n\nKept paragraph.\n\nChanged paragraph.\n";

PreviewVersion earlierVersion()
{
    return {QStringLiteral("a1b2c3d4e5f60718293a4b5c6d7e8f9012345678"), QStringLiteral("2026-12-03"),
            QStringLiteral("Tighten the notes"), versionText};
}

} // namespace

class PreviewVersionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Localization::install(qApp, QLocale(QLocale::English));
    }

    void init()
    {
        QVERIFY(m_folder.isValid());
        m_path = m_folder.filePath(QStringLiteral("notes.md"));
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(currentText);
    }

    void earlierVersionIsShownReadOnlyUnderItsBand()
    {
        MarkdownPreviewView view(QUrl::fromLocalFile(m_path), std::nullopt);
        view.resize(700, 500);
        view.show();
        QTRY_VERIFY(view.state().isContent());
        QVERIFY(view.header()->historyButton()->isVisible());
        QVERIFY(!view.versionBand()->isVisible());

        QSignalSpy changed(&view, &MarkdownPreviewView::versionChanged);
        view.showVersion(earlierVersion());
        QCOMPARE(changed.size(), 1);
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(versionText));
        QVERIFY(view.versionBand()->isVisible());
        QCOMPARE(view.versionBand()->text(),
                 QStringLiteral("Version of 2026-12-03, a1b2c3d: Tighten the notes"));
        QVERIFY(!view.versionBand()->compareButton()->isChecked());
        // Rendered by the same engine, nothing marked.
        auto *document = qobject_cast<MarkdownView *>(view.contentView());
        QVERIFY(document);
        QVERIFY(view.changeMarks().isEmpty());

        // Nothing reads it as the file: not marked as read, not replaced by a reload.
        QSignalSpy read(&view, &MarkdownPreviewView::markedAsRead);
        view.markAsRead();
        QCOMPARE(read.size(), 0);
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# Edited meanwhile\n");
        file.close();
        view.reload();
        QCOMPARE(view.state().text(), QString::fromUtf8(versionText));
        // The current text is read when it is asked for.
        view.setComparesWithCurrent(true);
        QTRY_COMPARE(view.state().text(), QStringLiteral("# Edited meanwhile\n"));
        view.setComparesWithCurrent(false);
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(versionText));

        // Another file leaves the version.
        const QString other = m_folder.filePath(QStringLiteral("other.md"));
        QFile otherFile(other);
        QVERIFY(otherFile.open(QIODevice::WriteOnly));
        otherFile.write("# Other\n");
        otherFile.close();
        view.setFile(QUrl::fromLocalFile(other), std::nullopt);
        QVERIFY(!view.version());
        QVERIFY(!view.versionBand()->isVisible());
        QTRY_COMPARE(view.state().text(), QStringLiteral("# Other\n"));
    }

    void compareWithCurrentMarksWhatChangedSinceInBothModes()
    {
        MarkdownPreviewView view(QUrl::fromLocalFile(m_path), std::nullopt);
        view.resize(700, 500);
        view.show();
        QTRY_VERIFY(view.state().isContent());
        view.showVersion(earlierVersion());
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(versionText));

        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        view.versionBand()->compareButton()->click();
        QVERIFY(view.comparesWithCurrent());
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(currentText));
        QTRY_VERIFY(!view.changeMarks().isEmpty());
        QCOMPARE(view.versionBand()->text(),
                 QStringLiteral("Current text, marked where it changed since the version of 2026-12-03, "
                                "a1b2c3d: Tighten the notes"));
        // The current text against the version: the paragraph gone is marked before the one
        // kept, the longer paragraph as modified, the list item as added.
        const ChangeMarks expected = {
            {ChangeMark::Kind::removed, 2, 0, QStringLiteral("Removed paragraph.")},
            {ChangeMark::Kind::modified, 4, 1, {}},
            {ChangeMark::Kind::added, 6, 1, {}},
        };
        QCOMPARE(view.changeMarks(), expected);
        auto *document = qobject_cast<MarkdownView *>(view.contentView());
        QVERIFY(document);
        QCOMPARE(document->changeMarks(), expected);
        view.setViewMode(MarkdownViewMode::source);
        auto *source = qobject_cast<SourceTextView *>(view.contentView());
        QVERIFY(source);
        QCOMPARE(source->changeMarks(), expected);
        QVERIFY(view.goToNextChange());

        // Turned off, the version is on show again, unmarked.
        view.versionBand()->compareButton()->click();
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(versionText));
        QTRY_VERIFY(view.changeMarks().isEmpty());
        QCOMPARE(view.viewMode(), MarkdownViewMode::source);
    }

    void backToCurrentBringsTheMarksSinceLastReadBack_data()
    {
        QTest::addColumn<bool>("compared");
        QTest::addRow("from the version") << false;
        QTest::addRow("from the comparison") << true;
    }

    void backToCurrentBringsTheMarksSinceLastReadBack()
    {
        QFETCH(bool, compared);
        MarkdownPreviewView view(QUrl::fromLocalFile(m_path), std::nullopt);
        view.resize(700, 500);
        view.show();
        QTRY_VERIFY(view.state().isContent());
        // Seen before the list item was added.
        view.setSeenText(QStringLiteral("# Title\n\nKept paragraph.\n\nChanged paragraph, now longer.\n"));
        const ChangeMarks sinceRead = {{ChangeMark::Kind::added, 6, 1, {}}};
        QTRY_COMPARE(view.changeMarks(), sinceRead);

        view.showVersion(earlierVersion());
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(versionText));
        QTRY_VERIFY(view.changeMarks().isEmpty());
        if (compared) {
            view.setComparesWithCurrent(true);
            QTRY_COMPARE(view.changeMarks().size(), 3);
        }

        QSignalSpy changed(&view, &MarkdownPreviewView::versionChanged);
        view.versionBand()->backButton()->click();
        QCOMPARE(changed.size(), 1);
        QVERIFY(!view.version());
        QVERIFY(!view.versionBand()->isVisible());
        QTRY_COMPARE(view.state().text(), QString::fromUtf8(currentText));
        QTRY_COMPARE(view.changeMarks(), sinceRead);
    }

    void historyButtonAsksAndGoesWhenNotOffered()
    {
        MarkdownPreviewView view(QUrl::fromLocalFile(m_path), std::nullopt);
        view.show();
        QSignalSpy asked(&view, &MarkdownPreviewView::historyRequested);
        view.header()->historyButton()->click();
        QCOMPARE(asked.size(), 1);
        view.setHistoryOffered(false);
        QVERIFY(!view.header()->historyButton()->isVisible());
        // The window's command still asks, to be told why there is none.
        view.requestHistory();
        QCOMPARE(asked.size(), 2);
    }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

QTEST_MAIN(PreviewVersionTest)
#include "tst_previewversion.moc"
