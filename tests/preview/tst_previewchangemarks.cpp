// The preview compared with the text last seen: the marks its views paint, in both modes,
// going from one to the next, and Mark as Read.
#include "preview/markdownpreviewview.h"
#include "preview/previewchangemarks.h"
#include "preview/sourcetextview.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace kestrune;

class PreviewChangeMarksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blockChangesBecomeMarks()
    {
        const BlockDiffResult diff = BlockDiff::compare(QStringLiteral("One\n\nTwo\n\nThree\n"),
                                                        QStringLiteral("One\n\nTwo!\n\nNew\n"));
        const ChangeMarks marks = PreviewChangeMarks::from(diff);
        QCOMPARE(marks.size(), diff.changes.size());
        QVERIFY(!marks.isEmpty());
        QCOMPARE(marks.first().kind, ChangeMark::Kind::modified);
        QCOMPARE(marks.first().firstLine, 2);
    }

    void seenTextMarksTheViewsUntilRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.md"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# Title\n\nKept paragraph.\n\nChanged paragraph, now longer.\n\nA new paragraph.\n");
        file.close();
        MarkdownPreviewView view(QUrl::fromLocalFile(path), std::nullopt);
        view.resize(600, 500);
        view.show();
        QTRY_VERIFY(view.state().isContent());
        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        view.setSeenText(
            QStringLiteral("# Title\n\nKept paragraph.\n\nChanged paragraph.\n\nRemoved one.\n"));
        QVERIFY(marksChanged.wait());
        QVERIFY(!view.changeMarks().isEmpty());
        auto *document = qobject_cast<MarkdownView *>(view.contentView());
        QVERIFY(document);
        QCOMPARE(document->changeMarks(), view.changeMarks());
        QVERIFY(view.goToNextChange());
        QCOMPARE(document->currentChange(), 0);

        view.setViewMode(MarkdownViewMode::source);
        auto *source = qobject_cast<SourceTextView *>(view.contentView());
        QVERIFY(source);
        QCOMPARE(source->changeMarks(), view.changeMarks());
        QVERIFY(view.goToNextChange());
        QCOMPARE(source->currentChange(), 0);

        QSignalSpy read(&view, &MarkdownPreviewView::markedAsRead);
        view.markAsRead();
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().at(0).toUrl(), QUrl::fromLocalFile(path));
        QCOMPARE(read.first().at(1).toString(), view.state().text());
        QVERIFY(view.changeMarks().isEmpty());
        QVERIFY(source->changeMarks().isEmpty());
        QVERIFY(document->changeMarks().isEmpty());
        QVERIFY(!view.goToNextChange());
    }
};

QTEST_MAIN(PreviewChangeMarksTest)
#include "tst_previewchangemarks.moc"
