// The catch-up popup: its empty state, the keys passing over the group headings, choosing a file
// (and not a removed one), asking to mark all as read, what a screen reader is told of a row,
// and rows that stay legible in the dark appearance.
#include "catchup/catchuplistmodel.h"
#include "catchup/catchuppopup.h"
#include "catchup/catchuprowdelegate.h"

#include "ui/themecolors.h"
#include "ui/themecontroller.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace kestrune;

namespace {

const QDateTime changedAt = QDateTime(QDate(2026, 3, 3), QTime(14, 5));

CatchUpEntry entry(const QString &relativePath, const QString &name, CatchUpEntry::Change change)
{
    CatchUpEntry file;
    file.change = change;
    file.relativePath = relativePath;
    file.name = name;
    if (change != CatchUpEntry::Change::removed) {
        file.url = QUrl::fromLocalFile(QStringLiteral("/projects/shop/") + relativePath);
        file.modificationDate = changedAt;
    }
    file.hasSeenText = change != CatchUpEntry::Change::added;
    return file;
}

QList<CatchUpGroup> sampleGroups()
{
    return {
        CatchUpGroup{CatchUpGroup::Kind::change,
                     QStringLiteral("add-login"),
                     {entry(QStringLiteral("kestrune/changes/add-login/design.md"),
                            QStringLiteral("design.md"), CatchUpEntry::Change::removed),
                      entry(QStringLiteral("kestrune/changes/add-login/proposal.md"),
                            QStringLiteral("proposal.md"), CatchUpEntry::Change::changed)}},
        CatchUpGroup{CatchUpGroup::Kind::specifications,
                     QString(),
                     {entry(QStringLiteral("kestrune/specs/auth/spec.md"), QStringLiteral("auth/spec.md"),
                            CatchUpEntry::Change::added)}},
    };
}

double luminance(const QColor &color)
{
    return 0.2126 * color.redF() + 0.7152 * color.greenF() + 0.0722 * color.blueF();
}

} // namespace

class TestCatchUpPopup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingListedSaysSo()
    {
        CatchUpPopup popup;
        popup.setGroups({});
        QVERIFY(!popup.emptyLabel()->isHidden());
        QVERIFY(popup.listView()->isHidden());
        QCOMPARE(popup.emptyLabel()->text(), QStringLiteral("catchup.empty")); // the key: no table loaded
        QVERIFY(!popup.markAllButton()->isEnabled());

        popup.setGroups(sampleGroups());
        QVERIFY(popup.emptyLabel()->isHidden());
        QVERIFY(popup.markAllButton()->isEnabled());
        // Nothing matching what is typed is another text.
        popup.filterField()->setText(QStringLiteral("nothing like it"));
        QVERIFY(!popup.emptyLabel()->isHidden());
        QCOMPARE(popup.emptyLabel()->text(), QStringLiteral("catchup.no_matches"));
        popup.filterField()->setText(QStringLiteral("auth"));
        QCOMPARE(popup.model()->rowCount(), 2); // the heading and its one file
        QCOMPARE(popup.currentEntry()->name, QStringLiteral("auth/spec.md"));
    }

    void theKeysPassOverHeadingsAndChooseFiles()
    {
        CatchUpPopup popup;
        popup.setGroups(sampleGroups());
        popup.resize(500, 400);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        // Rows: heading, design.md, proposal.md, heading, auth/spec.md.
        QCOMPARE(popup.model()->rowCount(), 5);
        QVERIFY(popup.model()->isHeading(0));
        QVERIFY(!(popup.model()->flags(popup.model()->index(3)) & Qt::ItemIsEnabled));
        QCOMPARE(popup.currentEntry()->name, QStringLiteral("design.md"));

        QSignalSpy chosen(&popup, &CatchUpPopup::entryChosen);
        // A removed file is listed, not opened.
        QTest::keyClick(popup.filterField(), Qt::Key_Return);
        QCOMPARE(chosen.count(), 0);
        QVERIFY(popup.isVisible());
        QTest::keyClick(popup.filterField(), Qt::Key_Down);
        QCOMPARE(popup.currentEntry()->name, QStringLiteral("proposal.md"));
        QTest::keyClick(popup.filterField(), Qt::Key_Down); // over the specifications' heading
        QCOMPARE(popup.currentEntry()->name, QStringLiteral("auth/spec.md"));
        QTest::keyClick(popup.filterField(), Qt::Key_Up);
        QCOMPARE(popup.currentEntry()->name, QStringLiteral("proposal.md"));
        QTest::keyClick(popup.filterField(), Qt::Key_Return);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().value<CatchUpEntry>().relativePath,
                 QStringLiteral("kestrune/changes/add-login/proposal.md"));
    }

    void aClickOnAHeadingChoosesNothing()
    {
        CatchUpPopup popup;
        popup.setGroups(sampleGroups());
        popup.resize(500, 400);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QSignalSpy chosen(&popup, &CatchUpPopup::entryChosen);
        QListView *list = popup.listView();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(popup.model()->index(3)).center());
        QCOMPARE(chosen.count(), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(popup.model()->index(4)).center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().value<CatchUpEntry>().name, QStringLiteral("auth/spec.md"));
    }

    void markAllAsReadIsAskedFor()
    {
        CatchUpPopup popup;
        popup.setGroups(sampleGroups());
        QSignalSpy asked(&popup, &CatchUpPopup::markAllAsReadRequested);
        popup.markAllButton()->click();
        QCOMPARE(asked.count(), 1);
    }

    void rowsSayWhatChangedAndWhen()
    {
        CatchUpListModel model;
        model.setGroups(sampleGroups());
        model.setLineCount(QStringLiteral("kestrune/changes/add-login/proposal.md"),
                           CatchUpLineCount::counted(12, 3));
        model.setLineCount(QStringLiteral("kestrune/specs/auth/spec.md"), CatchUpLineCount::uncounted());
        QCOMPARE(model.countText(2), QStringLiteral("+12 \u22123"));
        QCOMPARE(model.countText(4), QString()); // not countable: the line below says "new"
        QCOMPARE(model.detailText(4), QStringLiteral("reading.mark.added \u00b7 2026-03-03 14:05"));
        QCOMPARE(model.countText(1), QString()); // still counting
        QCOMPARE(model.detailText(2), QStringLiteral("catchup.change.changed \u00b7 2026-03-03 14:05"));
        QCOMPARE(model.detailText(1), QStringLiteral("catchup.change.removed"));
        // A screen reader hears the whole row, the heading with what it is.
        const QString spoken = model.data(model.index(2), Qt::AccessibleTextRole).toString();
        QVERIFY2(spoken.startsWith(QStringLiteral("proposal.md, catchup.change.changed, ")),
                 qPrintable(spoken));
        QVERIFY2(spoken.endsWith(QStringLiteral("2026-03-03 14:05")), qPrintable(spoken));
        QCOMPARE(model.data(model.index(0), Qt::AccessibleTextRole).toString(),
                 QStringLiteral("quickopen.kind.change add-login"));
        QVERIFY(model.data(model.index(1), Qt::AccessibleTextRole)
                    .toString()
                    .endsWith(QStringLiteral("catchup.accessible.not_openable")));
    }

    void rowsAreLegibleInTheDark()
    {
        const QPalette dark = ThemeController::paletteFor(Appearance::dark);
        CatchUpPopup popup;
        popup.setPalette(dark);
        popup.setGroups(sampleGroups());
        popup.setLineCount(QStringLiteral("kestrune/changes/add-login/proposal.md"),
                           CatchUpLineCount::counted(12, 3));
        popup.resize(500, 400);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QListView *list = popup.listView();
        const QImage image = list->viewport()->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        const QColor background = image.pixelColor(
            int(2 * ratio), int((list->visualRect(popup.model()->index(2)).top() + 2) * ratio));
        QVERIFY2(luminance(background) < 0.3, qPrintable(background.name()));

        // proposal.md's row (not the current one): light ink on the dark ground, the counts in
        // the colours of the added and removed change bars.
        const QRect row = list->visualRect(popup.model()->index(2));
        int lightInk = 0;
        int addedInk = 0;
        int removedInk = 0;
        const QColor added = ThemeColors::completedAccent.resolve(Appearance::dark);
        const QColor removed = ThemeColors::errorText.resolve(Appearance::dark);
        const auto near = [](const QColor &a, const QColor &b) {
            return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
                   std::abs(a.blue() - b.blue()) < 40;
        };
        for (int y = int(row.top() * ratio); y < int(row.bottom() * ratio); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (luminance(pixel) - luminance(background) > 0.45)
                    ++lightInk;
                if (near(pixel, added))
                    ++addedInk;
                if (near(pixel, removed))
                    ++removedInk;
            }
        }
        QVERIFY2(lightInk > 40, qPrintable(QString::number(lightInk)));
        QVERIFY2(addedInk > 5, qPrintable(QString::number(addedInk)));
        QVERIFY2(removedInk > 5, qPrintable(QString::number(removedInk)));

        // A heading is light too, and lower than a file's row.
        const QRect heading = list->visualRect(popup.model()->index(0));
        QCOMPARE(heading.height(), CatchUpRowDelegate::headingHeight());
        QCOMPARE(row.height(), CatchUpRowDelegate::rowHeight());
        int headingInk = 0;
        for (int y = int(heading.top() * ratio); y < int(heading.bottom() * ratio); ++y)
            for (int x = 0; x < image.width(); ++x)
                headingInk += luminance(image.pixelColor(x, y)) - luminance(background) > 0.45 ? 1 : 0;
        QVERIFY2(headingInk > 20, qPrintable(QString::number(headingInk)));
    }
};

QTEST_MAIN(TestCatchUpPopup)
#include "tst_catchuppopup.moc"
