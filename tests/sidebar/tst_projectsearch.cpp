#include "project/projectstore.h"
#include "search/projecttextindex.h"
#include "sidebar/outlinelistview.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/searchresultdelegate.h"
#include "sidebar/searchresultsmodel.h"
#include "sidebar/searchresultsview.h"
#include "sidebar/sidebarcolors.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

using namespace kestrune;

namespace {

void writeFile(const QString &path, const QByteArray &content, const QDateTime &modified = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    if (modified.isValid()) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
}

FileSearchResult resultOfRank(int rank, int hits = 1)
{
    auto file = std::make_shared<SearchableFile>();
    file->relativePath = QStringLiteral("f%1.md").arg(rank);
    file->url = QUrl::fromLocalFile(QStringLiteral("/p/kestrune/f%1.md").arg(rank));
    file->text = QStringLiteral("hit\n").repeated(hits);
    return FileSearchResult::search(file, SearchPattern(QStringLiteral("hit")), rank);
}

// Counts the pixels of an image close to a colour.
int pixelsNear(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - color.red()) < 12 && qAbs(pixel.green() - color.green()) < 12 &&
                qAbs(pixel.blue() - color.blue()) < 12)
                ++count;
        }
    }
    return count;
}

// The colour text is drawn in: of the pixels that differ most from the image's commonest colour
// (the background), the first found.
QColor inkOf(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    QRgb ink = background;
    int farthest = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const int distance = qAbs(qRed(it.key()) - qRed(background)) +
                             qAbs(qGreen(it.key()) - qGreen(background)) +
                             qAbs(qBlue(it.key()) - qBlue(background));
        if (distance > farthest) {
            farthest = distance;
            ink = it.key();
        }
    }
    return QColor(ink);
}

} // namespace

class ProjectSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void modelKeepsRankOrderWhateverTheArrival();
    void excerptKeepsTheMatchInSight();
    void typingShowsRankedResultsAndEscapeEndsTheSearch();
    void invalidExpressionShowsItsError();
    void scopeTogglesChooseTheFiles();
    void choosingAHitNamesItsPlace();
    void changedFilesUpdateResultsKeepingTheChosenHit();
    void matchesAreHighlightedInBothAppearances();
    void errorReadsOnBothAppearances();

private:
    void type(const QString &text);
    void waitForSearch();
    QStringList fileRows() const;

    QTemporaryDir m_projects;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<ProjectTextIndex> m_index;
    std::unique_ptr<SearchResultsModel> m_model;
    std::unique_ptr<QWidget> m_window;
    ProjectSearchField *m_field = nullptr;
    SearchResultsView *m_view = nullptr;
    ProjectSearchController *m_controller = nullptr;
    QString m_first;
    QString m_second;
};

void ProjectSearchTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    m_first = m_projects.filePath(QStringLiteral("first"));
    writeFile(m_first + "/kestrune/changes/archive/2024-01-01-old-limits/proposal.md",
              "Rate limits, archived.\n", past);
    writeFile(m_first + "/kestrune/changes/add-limits/proposal.md", "# Add rate limits\n\nLimit the rate.\n",
              past);
    writeFile(m_first + "/kestrune/specs/api/spec.md",
              "# API\n\n### Requirement: Rate limit\nThe API SHALL rate.\n", past);
    m_second = m_projects.filePath(QStringLiteral("second"));
    writeFile(m_second + "/kestrune/specs/export/spec.md", "Exports respect the rate limit.\n", past);
}

void ProjectSearchTest::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_store = std::make_unique<ProjectStore>();
    m_index = std::make_unique<ProjectTextIndex>(*m_store);
    m_model = std::make_unique<SearchResultsModel>();
    new QAbstractItemModelTester(m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m_model.get());
    m_window = std::make_unique<QWidget>();
    m_field = new ProjectSearchField(m_window.get());
    m_view = new SearchResultsView(*m_model, m_window.get());
    m_field->setGeometry(0, 0, 320, 40);
    m_view->setGeometry(0, 40, 320, 460);
    m_controller =
        new ProjectSearchController(*m_store, *m_index, *m_field, *m_view, *m_model, m_window.get());
    m_window->resize(320, 500);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QSignalSpy updated(m_index.get(), &ProjectTextIndex::projectUpdated);
    m_store->importProject(QUrl::fromLocalFile(m_first));
    m_store->importProject(QUrl::fromLocalFile(m_second));
    QTRY_COMPARE(updated.size(), 2);
    m_controller->setCurrentProject(QUrl::fromLocalFile(m_first));
}

void ProjectSearchTest::cleanup()
{
    m_window.reset();
    m_model.reset();
    m_index.reset();
    m_store.reset();
    m_theme.reset();
}

void ProjectSearchTest::type(const QString &text)
{
    m_field->lineEdit()->setFocus();
    m_field->lineEdit()->clear();
    QTest::keyClicks(m_field->lineEdit(), text);
}

void ProjectSearchTest::waitForSearch()
{
    QTRY_VERIFY(!m_controller->isSearching());
}

QStringList ProjectSearchTest::fileRows() const
{
    QStringList rows;
    for (int row = 0; row < m_model->rowCount(); ++row)
        rows.append(m_model->index(row, 0).data().toString());
    return rows;
}

void ProjectSearchTest::modelKeepsRankOrderWhateverTheArrival()
{
    SearchResultsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.addResults({resultOfRank(5, 2), resultOfRank(1)});
    model.addResults({resultOfRank(3, 3), resultOfRank(1)}); // rank 1 again: listed once
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("f1.md"));
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("f3.md"));
    QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("f5.md"));
    QCOMPARE(model.totalMatchCount(), 6);
    const QModelIndex hit = model.index(2, 0, model.index(1, 0));
    QCOMPARE(hit.parent(), model.index(1, 0));
    QCOMPARE(hit.data(SearchResultsModel::LineRole).toInt(), 3);
    QVERIFY(!(model.index(1, 0).flags() & Qt::ItemIsSelectable));
    QVERIFY(hit.flags() & Qt::ItemIsSelectable);
    QCOMPARE(model.indexOfHit(QUrl::fromLocalFile(QStringLiteral("/p/kestrune/f3.md")), 2, 0), hit);

    // Neighbouring ranks go in with one insertion each, wherever they land.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.addResults({resultOfRank(9), resultOfRank(2), resultOfRank(8), resultOfRank(7), resultOfRank(4)});
    QCOMPARE(inserted.size(), 3); // 2 | 4 | 7, 8, 9
    QCOMPARE(model.rowCount(), 8);
    QCOMPARE(model.index(7, 0).data().toString(), QStringLiteral("f9.md"));
}

void ProjectSearchTest::excerptKeepsTheMatchInSight()
{
    const QFont font = QApplication::font();
    const QString line =
        QStringLiteral("    ") + QStringLiteral("word ").repeated(200) + QStringLiteral("needle end");
    const qsizetype column = line.indexOf(QLatin1String("needle"));
    const SearchResultDelegate::Excerpt shown = SearchResultDelegate::excerpt(line, column, 6, font, 60);
    QVERIFY(shown.text.startsWith(QChar(0x2026)));
    QCOMPARE(shown.text.mid(shown.matchStart, shown.matchLength), QStringLiteral("needle"));
    QVERIFY(QFontMetricsF(font).horizontalAdvance(shown.text.left(shown.matchStart)) <= 60);
    // A short line keeps its start, without its indentation.
    const SearchResultDelegate::Excerpt whole = SearchResultDelegate::excerpt(u"  a needle", 4, 6, font, 200);
    QCOMPARE(whole.text, QStringLiteral("a needle"));
    QCOMPARE(whole.matchStart, 2);
    // The cut never splits a character made of two code units.
    const QString emoji = QStringLiteral("😀").repeated(300) + QStringLiteral("needle");
    const SearchResultDelegate::Excerpt cut =
        SearchResultDelegate::excerpt(emoji, emoji.size() - 6, 6, font, 40);
    QVERIFY(!cut.text.at(1).isLowSurrogate());
    QCOMPARE(cut.text.mid(cut.matchStart, cut.matchLength), QStringLiteral("needle"));
}

void ProjectSearchTest::typingShowsRankedResultsAndEscapeEndsTheSearch()
{
    QSignalSpy active(m_controller, &ProjectSearchController::activeChanged);
    type(QStringLiteral("rate"));
    QCOMPARE(active.size(), 1);
    QVERIFY(m_controller->isActive());
    waitForSearch();
    // Current files in outline order, the archived change last.
    QCOMPARE(fileRows(), (QStringList{"changes/add-limits/proposal.md", "specs/api/spec.md",
                                      "changes/archive/2024-01-01-old-limits/proposal.md"}));
    QCOMPARE(m_model->totalMatchCount(), 5);
    QVERIFY(!m_view->statusText().isEmpty());
    QVERIFY(m_view->listView()->isExpanded(m_model->index(0, 0)));

    QTest::keyClick(m_field->lineEdit(), Qt::Key_Escape);
    QVERIFY(m_field->lineEdit()->text().isEmpty());
    QVERIFY(!m_controller->isActive());
    QCOMPARE(active.size(), 2);
    QCOMPARE(m_model->rowCount(), 0);
}

void ProjectSearchTest::invalidExpressionShowsItsError()
{
    // Said in the interface language, not in the expression engine's English.
    Localization::install(qApp, QLocale(QLocale::German, QLocale::Germany));
    const auto withoutTables = qScopeGuard([] {
        const auto translators = qApp->findChildren<QTranslator *>();
        for (QTranslator *translator : translators) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    });
    m_window->findChild<QToolButton *>(QStringLiteral("searchExpression"))->setChecked(true);
    type(QStringLiteral("rate("));
    QVERIFY(m_controller->isActive());
    QVERIFY(!m_controller->isSearching());
    QVERIFY(m_view->isShowingError());
    QCOMPARE(m_view->statusText(), QStringLiteral("Ungültiger Ausdruck: „)“ fehlt an Position 6"));
    QCOMPARE(m_model->rowCount(), 0);
    // Mended, it searches.
    QTest::keyClick(m_field->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(m_field->lineEdit(), QStringLiteral("\\s+limits?"));
    waitForSearch();
    QVERIFY(!m_view->isShowingError());
    QCOMPARE(m_model->totalMatchCount(), 3);
}

void ProjectSearchTest::scopeTogglesChooseTheFiles()
{
    type(QStringLiteral("limit"));
    waitForSearch();
    QCOMPARE(m_model->fileCount(), 3);
    m_window->findChild<QToolButton *>(QStringLiteral("searchAllProjects"))->setChecked(true);
    waitForSearch();
    QCOMPARE(m_model->fileCount(), 4);
    QVERIFY(fileRows().contains(QStringLiteral("specs/export/spec.md")));
    m_window->findChild<QToolButton *>(QStringLiteral("searchHideArchived"))->setChecked(true);
    waitForSearch();
    QCOMPARE(m_model->fileCount(), 3);
    QVERIFY(!fileRows().contains(QStringLiteral("changes/archive/2024-01-01-old-limits/proposal.md")));
    // Whole words and letter case narrow it further.
    m_window->findChild<QToolButton *>(QStringLiteral("searchWholeWord"))->setChecked(true);
    waitForSearch();
    QCOMPARE(m_model->totalMatchCount(), 3); // "Limit", "Rate limit", "rate limit"; never "limits"
}

void ProjectSearchTest::choosingAHitNamesItsPlace()
{
    QSignalSpy chosen(m_controller, &ProjectSearchController::hitChosen);
    type(QStringLiteral("the rate"));
    waitForSearch();
    QCOMPARE(m_model->fileCount(), 1);
    // Enter in the field hands over to the results, on the first hit; Enter there chooses it.
    QTest::keyClick(m_field->lineEdit(), Qt::Key_Return);
    OutlineListView *list = m_view->listView();
    QVERIFY(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toUrl(), QUrl::fromLocalFile(m_first));
    QCOMPARE(chosen[0][1].toUrl(), QUrl::fromLocalFile(m_first + "/kestrune/changes/add-limits/proposal.md"));
    QCOMPARE(chosen[0][2].value<SearchPattern>().text(), QStringLiteral("the rate"));
    QCOMPARE(chosen[0][3].toInt(), 2);
    QCOMPARE(chosen[0][4].toInt(), 6);
    // A click on a hit chooses it too.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->currentIndex()).center());
    QCOMPARE(chosen.size(), 2);
}

void ProjectSearchTest::changedFilesUpdateResultsKeepingTheChosenHit()
{
    type(QStringLiteral("rate"));
    waitForSearch();
    OutlineListView *list = m_view->listView();
    const QModelIndex spec = m_model->index(1, 0);
    const QModelIndex specHit = m_model->index(1, 0, spec);
    list->setCurrentIndex(specHit);
    const auto chosen = m_model->hitAt(specHit);
    QVERIFY(chosen);
    const QUrl specUrl = chosen->result->file->url;
    const SearchHit hit = chosen->hit;

    // The change's proposal gains a match; the store rescans, the index reads that file again.
    QSignalSpy finished(m_controller, &ProjectSearchController::searchFinished);
    writeFile(m_first + "/kestrune/changes/add-limits/proposal.md",
              "# Add rate limits\n\nLimit the rate, any rate.\n");
    m_store->refreshProject(QUrl::fromLocalFile(m_first));
    QVERIFY(finished.wait());
    QCOMPARE(m_model->totalMatchCount(), 6);
    const auto again = m_model->hitAt(list->currentIndex());
    QVERIFY(again);
    QCOMPARE(again->result->file->url, specUrl);
    QCOMPARE(again->hit, hit);
}

void ProjectSearchTest::matchesAreHighlightedInBothAppearances()
{
    type(QStringLiteral("rate"));
    waitForSearch();
    for (const ThemeMode mode : {ThemeMode::light, ThemeMode::dark}) {
        m_theme->setMode(mode);
        QApplication::processEvents();
        QWidget *viewport = m_view->listView()->viewport();
        const QImage image = viewport->grab().toImage();
        QColor tint = SidebarColors::searchMatch.resolve(viewport->palette());
        // The tint is drawn over the list's own background.
        const QColor base = viewport->palette().color(QPalette::Base);
        const qreal alpha = tint.alphaF();
        tint = QColor::fromRgbF(tint.redF() * alpha + base.redF() * (1 - alpha),
                                tint.greenF() * alpha + base.greenF() * (1 - alpha),
                                tint.blueF() * alpha + base.blueF() * (1 - alpha));
        QVERIFY2(pixelsNear(image, tint) > 100,
                 qPrintable(QStringLiteral("no highlight in mode %1").arg(int(mode))));
    }
}

void ProjectSearchTest::errorReadsOnBothAppearances()
{
    m_window->findChild<QToolButton *>(QStringLiteral("searchExpression"))->setChecked(true);
    type(QStringLiteral("rate("));
    QVERIFY(m_view->isShowingError());
    auto *status = m_view->findChild<QLabel *>(QStringLiteral("searchStatus"));
    QVERIFY(status);
    // Large and bold, so that the strokes have pixels drawn in the ink itself, not only blended ones.
    QFont font = status->font();
    font.setPixelSize(40);
    font.setBold(true);
    status->setFont(font);
    status->setText(QStringLiteral("Error"));
    status->setMinimumHeight(60);
    QApplication::processEvents();

    for (const ThemeMode mode : {ThemeMode::light, ThemeMode::dark}) {
        m_theme->setMode(mode);
        QApplication::processEvents();
        const QImage image =
            m_window->grab(QRect(status->mapTo(m_window.get(), QPoint(0, 0)), status->size())).toImage();
        const QColor ink = inkOf(image);
        const QString shown = QStringLiteral("mode %1: ink %2").arg(int(mode)).arg(ink.name());
        QVERIFY2(ink.redF() > 2 * ink.greenF() && ink.redF() > 2 * ink.blueF(), qPrintable(shown));
        // Dark red on the light outline, pale red on the dark one.
        if (mode == ThemeMode::light)
            QVERIFY2(ink.lightnessF() < 0.5, qPrintable(shown));
        else
            QVERIFY2(ink.lightnessF() > 0.6, qPrintable(shown));
    }
}

QTEST_MAIN(ProjectSearchTest)
#include "tst_projectsearch.moc"
