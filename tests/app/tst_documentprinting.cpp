// Printing and PDF export: the document is parsed, laid out and painted off the window's thread
// into the same pages and text a PDF written on it has, and Cancel stops it in any phase, also
// while it waits for a picture that does not come, leaving no file behind.
#include "app/documentprinting.h"
#include "markdown/document/markdownparser.h"
#include "markdown/images/imageprovider.h"
#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/document/documentprintjob.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "ui/localization.h"

#include <QtTest>

#include <QPdfWriter>
#include <QProgressDialog>

#include <atomic>

using namespace kestrune;

Q_DECLARE_METATYPE(DocumentPrintJob::Phase)

namespace {

// Never answers; tells the test when it was asked.
class SilentImageProvider : public ImageProvider
{
public:
    std::function<void()> asked;

    QFuture<QImage> image(const QUrl &) override
    {
        m_promises.append(std::make_shared<QPromise<QImage>>());
        m_promises.last()->start();
        if (asked)
            asked();
        return m_promises.last()->future();
    }

private:
    QList<std::shared_ptr<QPromise<QImage>>> m_promises;
};

QString sampleMarkdown()
{
    QString text = QStringLiteral("# Printed notes\n\n");
    for (int section = 0; section < 40; ++section) {
        text += QStringLiteral("## Section %1\n\nA paragraph about topic%1 with **strong** words.\n\n"
                               "- first item %1\n- second item %1\n\n"
                               "| Key | Value |\n|---|---|\n| k%1 | v%1 |\n\n"
                               "```cpp\nint value%1 = %1;\n```\n\n"
                               "> [!NOTE]\n> Remember note%1.\n\n")
                    .arg(section);
    }
    return text;
}

// The text layer of a PDF, page by page, as pdftotext reads it.
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The PDF as it is written on the calling thread, all in one go.
bool writeOnThisThread(const MarkdownPreviewView::PrintableDocument &document, const QString &path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
    DocumentPagination pagination(MarkdownParser::parse(document.text), document.environment,
                                  PagedDocumentPainter::contentSize(writer.pageLayout()));
    pagination.layoutAll();
    return PagedDocumentPainter(pagination, document.fileName).print(writer);
}

} // namespace

class TestDocumentPrinting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localization::install(qApp, QLocale(QLocale::English)); }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_printing = new DocumentPrinting(m_window.get());
    }
    void cleanup() { m_window.reset(); }

    // A text never rendered comes unparsed; it is parsed and laid out off the window's thread,
    // and the PDF holds the text a PDF written on the window's thread holds, page for page.
    void exportsOffTheWindowsThread()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir folder;
        const QString source = folder.filePath(QStringLiteral("notes.md"));
        MarkdownPreviewView::PrintableDocument document;
        document.text = sampleMarkdown();
        document.fileName = QStringLiteral("notes.md");
        document.environment =
            MarkdownPreviewView::documentEnvironment(QUrl::fromLocalFile(source), folder.path(), false);
        writeOnThisThread(document, folder.filePath(QStringLiteral("reference.pdf")));

        std::atomic<bool> laidOutOnWindowThread = false;
        std::atomic<int> codeBlocks = 0;
        QThread *const windowThread = QThread::currentThread();
        document.environment.codeSyntaxHighlighter = [&](const QString &, const std::optional<QString> &) {
            ++codeBlocks;
            if (QThread::currentThread() == windowThread)
                laidOutOnWindowThread = true;
            return QList<CodeHighlightRange>();
        };
        const QString target = folder.filePath(QStringLiteral("notes.pdf"));
        bool cancelled = true;
        QCOMPARE(m_printing->writePdf(document, target, &cancelled), std::nullopt);
        QVERIFY(!cancelled);
        QVERIFY(codeBlocks > 0);
        QVERIFY(!laidOutOnWindowThread);
        QVERIFY(!m_printing->isRendering());

        const QString written = pdfText(target);
        QVERIFY(written.contains(QStringLiteral("Printed notes")));
        QVERIFY(written.contains(QStringLiteral("Remember note39.")));
        QVERIFY(written.count(QChar(u'\f')) > 3); // pages
        QCOMPARE(written, pdfText(folder.filePath(QStringLiteral("reference.pdf"))));
    }

    // Cancel from the progress dialog answers while the export waits for a picture that never
    // comes (the wait would outlast the test), and leaves an earlier file as it was.
    void cancelAnswersWhileWaitingForPictures()
    {
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("notes.pdf"));
        {
            QFile earlier(target);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier");
        }
        auto images = std::make_shared<SilentImageProvider>();
        images->asked = [this] {
            // Once the dialog is there: cancelled as a reader would.
            QTimer::singleShot(0, m_window.get(), [this] {
                auto *dialog = m_window->findChild<QProgressDialog *>();
                QVERIFY(dialog);
                dialog->cancel();
            });
        };
        MarkdownPreviewView::PrintableDocument document;
        document.blocks =
            MarkdownParser::parse(QStringLiteral("# Picture\n\n![never](https://example.org/a.png)\n"));
        document.fileName = QStringLiteral("notes.md");
        document.environment.imageProvider = images;
        m_printing->setImageTimeout(std::chrono::hours(1));
        bool cancelled = false;
        QCOMPARE(m_printing->writePdf(document, target, &cancelled), std::nullopt);
        QVERIFY(cancelled);
        QVERIFY(!m_printing->isRendering());
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    }

    // The printing's own cancel() stops a long layout under way; the next export runs after it.
    void cancelStopsTheLayout()
    {
        QTemporaryDir folder;
        MarkdownPreviewView::PrintableDocument document;
        document.text = sampleMarkdown().repeated(20);
        document.fileName = QStringLiteral("notes.md");
        std::atomic<bool> asked = false;
        document.environment.codeSyntaxHighlighter = [&](const QString &, const std::optional<QString> &) {
            if (!asked.exchange(true))
                QMetaObject::invokeMethod(m_printing, &DocumentPrinting::cancel, Qt::QueuedConnection);
            return QList<CodeHighlightRange>();
        };
        bool cancelled = false;
        const QString target = folder.filePath(QStringLiteral("long.pdf"));
        QCOMPARE(m_printing->writePdf(document, target, &cancelled), std::nullopt);
        QVERIFY(cancelled);
        QVERIFY(!QFile::exists(target));

        document.text = QStringLiteral("# Short\n");
        document.environment.codeSyntaxHighlighter = {};
        QCOMPARE(m_printing->writePdf(document, target, &cancelled), std::nullopt);
        QVERIFY(!cancelled);
        QVERIFY(QFile::exists(target));
    }

    // Cancelled in any phase of its work, an export stops there, before the next phase begins:
    // it writes nothing, not even a partial file beside the target, and an earlier file of that
    // name stays as it was. The next export runs after it on the same thread and is whole.
    void cancelInEachPhaseLeavesNoFile_data()
    {
        QTest::addColumn<DocumentPrintJob::Phase>("phase");
        QTest::addRow("while the text is parsed") << DocumentPrintJob::Phase::parsing;
        QTest::addRow("while it is laid out") << DocumentPrintJob::Phase::layout;
        QTest::addRow("while it waits for a picture") << DocumentPrintJob::Phase::pictures;
        QTest::addRow("while it is paginated") << DocumentPrintJob::Phase::pagination;
        QTest::addRow("while its pages are painted") << DocumentPrintJob::Phase::painting;
        QTest::addRow("as the PDF is closed") << DocumentPrintJob::Phase::closing;
    }
    void cancelInEachPhaseLeavesNoFile()
    {
        using Phase = DocumentPrintJob::Phase;
        QFETCH(Phase, phase);
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("notes.pdf"));
        {
            QFile earlier(target);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier");
        }
        MarkdownPreviewView::PrintableDocument document;
        document.fileName = QStringLiteral("notes.md");
        QString text = sampleMarkdown();
        if (phase == Phase::pictures) {
            text += QStringLiteral("![never](https://example.org/a.png)\n");
            document.environment.imageProvider = std::make_shared<SilentImageProvider>();
            m_printing->setImageTimeout(std::chrono::hours(1));
        }
        if (phase == Phase::parsing)
            document.text = text;
        else
            document.blocks = MarkdownParser::parse(text);

        // Cancelled as the phase begins, from the window's thread as the progress dialog would,
        // while the job waits for it; every phase begun is noted.
        QList<Phase> begun;
        m_printing->setPhaseObserver([this, phase, &begun](Phase now) {
            begun.append(now);
            if (now == phase)
                QMetaObject::invokeMethod(m_printing, &DocumentPrinting::cancel,
                                          Qt::BlockingQueuedConnection);
        });
        bool cancelled = false;
        QCOMPARE(m_printing->writePdf(document, target, &cancelled), std::nullopt);
        QVERIFY(cancelled);
        QVERIFY(!m_printing->isRendering());

        // The next export waits for the cancelled job to leave off, then writes the whole text.
        m_printing->setPhaseObserver({});
        m_printing->setImageTimeout(std::chrono::milliseconds(1));
        document.text = sampleMarkdown();
        document.blocks.reset();
        document.environment = {};
        const QString next = folder.filePath(QStringLiteral("next.pdf"));
        QCOMPARE(m_printing->writePdf(document, next, &cancelled), std::nullopt);
        QVERIFY(!cancelled);
        QVERIFY(begun.contains(phase));
        QCOMPARE(begun.last(), phase);

        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
        // The part written is removed after the job has ended, off its thread.
        QTRY_COMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                     (QStringList{QStringLiteral("next.pdf"), QStringLiteral("notes.pdf")}));
        QFile written(next);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("%PDF-"));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            return;
        const QString reference = folder.filePath(QStringLiteral("reference.pdf"));
        QVERIFY(writeOnThisThread(document, reference));
        QCOMPARE(pdfText(next), pdfText(reference));
    }

private:
    std::unique_ptr<QWidget> m_window;
    DocumentPrinting *m_printing = nullptr;
};

QTEST_MAIN(TestDocumentPrinting)
#include "tst_documentprinting.moc"
