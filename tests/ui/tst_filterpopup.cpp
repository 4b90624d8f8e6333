#include "ui/filterpopup.h"

#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QStringListModel>
#include <QTest>

using namespace kestrune;

namespace {

// A filter popup over a fixed list that records what it is asked to do.
class RecordingPopup : public FilterPopup
{
public:
    RecordingPopup() : FilterPopup(new QListView, 4, nullptr), m_model(new QStringListModel(this))
    {
        QStringList rows;
        for (int row = 0; row < 40; ++row)
            rows.append(QStringLiteral("row %1").arg(row));
        m_model->setStringList(rows);
        listView()->setModel(m_model);
        listView()->setCurrentIndex(m_model->index(0));
        resize(300, 200);
    }

    int currentRow() const { return listView()->currentIndex().row(); }

    QList<int> chosenRows;
    QList<int> rowsMadeCurrent;

protected:
    void makeCurrent(const QModelIndex &index) override
    {
        rowsMadeCurrent.append(index.row());
        FilterPopup::makeCurrent(index);
    }
    void chooseCurrent() override
    {
        chosenRows.append(currentRow());
        close();
    }

private:
    QStringListModel *m_model;
};

} // namespace

class TestFilterPopup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fieldKeepsTheFocusWhileItsKeysMoveThroughTheList();
    void enterChoosesTheCurrentRowAndTheClosedPopupGoes();
    void clickMakesItsRowCurrentAndChoosesIt();
    void escapeClosesWithoutChoosing();

private:
    QPointer<RecordingPopup> m_popup;
};

void TestFilterPopup::init()
{
    m_popup = new RecordingPopup;
    m_popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_popup.data()));
    m_popup->filterField()->setFocus(Qt::PopupFocusReason);
}

void TestFilterPopup::cleanup()
{
    delete m_popup.data();
}

void TestFilterPopup::fieldKeepsTheFocusWhileItsKeysMoveThroughTheList()
{
    QLineEdit *field = m_popup->filterField();
    QCOMPARE(m_popup->listView()->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(m_popup->currentRow(), 2);
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(m_popup->currentRow(), 1);
    QTest::keyClick(field, Qt::Key_PageDown);
    const int pageDown = m_popup->currentRow();
    QVERIFY(pageDown > 2);
    QTest::keyClick(field, Qt::Key_PageUp);
    QVERIFY(m_popup->currentRow() < pageDown - 1);
    // Every other key is the field's.
    QTest::keyClicks(field, QStringLiteral("row"));
    QCOMPARE(field->text(), QStringLiteral("row"));
    QVERIFY(field->hasFocus());
    QVERIFY(m_popup->chosenRows.isEmpty());
}

void TestFilterPopup::enterChoosesTheCurrentRowAndTheClosedPopupGoes()
{
    QTest::keyClick(m_popup->filterField(), Qt::Key_Down);
    QTest::keyClick(m_popup->filterField(), Qt::Key_Return);
    QCOMPARE(m_popup->chosenRows, QList<int>({1}));
    QVERIFY(m_popup->rowsMadeCurrent.isEmpty());
    QTRY_VERIFY(!m_popup); // deleted once closed
}

void TestFilterPopup::clickMakesItsRowCurrentAndChoosesIt()
{
    QListView *list = m_popup->listView();
    const QRect third = list->visualRect(list->model()->index(3, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(m_popup->rowsMadeCurrent, QList<int>({3}));
    QCOMPARE(m_popup->chosenRows, QList<int>({3}));
    QTRY_VERIFY(!m_popup);
}

void TestFilterPopup::escapeClosesWithoutChoosing()
{
    QTest::keyClick(m_popup->filterField(), Qt::Key_Escape);
    QVERIFY(!m_popup->isVisible());
    QVERIFY(m_popup->chosenRows.isEmpty());
    QTRY_VERIFY(!m_popup);
}

QTEST_MAIN(TestFilterPopup)
#include "tst_filterpopup.moc"
