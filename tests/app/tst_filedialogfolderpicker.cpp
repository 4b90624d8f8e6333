// The import dialog itself: several folders chosen at once come back together.
#include "app/filedialogfolderpicker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

class TestFileDialogFolderPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void severalFoldersAreChosenAtOnce();
    void cancellingChoosesNone();
};

namespace {

QFileDialog *openDialog(QWidget &parent, FileDialogFolderPicker &picker, std::optional<QList<QUrl>> &answer)
{
    picker.chooseFolders(&parent, QStringLiteral("Import"),
                         [&answer](const QList<QUrl> &folders) { answer = folders; });
    return parent.findChild<QFileDialog *>(QStringLiteral("importFolderDialog"));
}

} // namespace

void TestFileDialogFolderPicker::severalFoldersAreChosenAtOnce()
{
    QTemporaryDir root;
    for (const char *name : {"alpha", "beta", "gamma"})
        QVERIFY(QDir(root.path()).mkdir(QString::fromLatin1(name)));
    QWidget parent;
    parent.show();
    FileDialogFolderPicker picker;
    std::optional<QList<QUrl>> answer;
    QFileDialog *dialog = openDialog(parent, picker, answer);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    dialog->setDirectory(root.path());

    auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
    QVERIFY(list);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QAbstractItemModel *model = list->model();
    const auto rowNamed = [&](const QString &name) {
        const QModelIndex parentIndex = list->rootIndex();
        for (int row = 0; row < model->rowCount(parentIndex); ++row) {
            const QModelIndex index = model->index(row, 0, parentIndex);
            if (index.data().toString() == name)
                return index;
        }
        return QModelIndex();
    };
    QTRY_VERIFY(rowNamed(QStringLiteral("gamma")).isValid());
    // A click on one, Ctrl and a click on another.
    list->scrollTo(rowNamed(QStringLiteral("alpha")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(rowNamed(QStringLiteral("alpha"))).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(rowNamed(QStringLiteral("gamma"))).center());
    static_cast<QDialog *>(dialog)->accept(); // as the dialog's Choose button does
    QTRY_VERIFY(answer.has_value());
    QList<QUrl> chosen = *answer;
    std::sort(chosen.begin(), chosen.end());
    QCOMPARE(chosen, (QList<QUrl>{QUrl::fromLocalFile(root.filePath(QStringLiteral("alpha"))),
                                  QUrl::fromLocalFile(root.filePath(QStringLiteral("gamma")))}));
}

void TestFileDialogFolderPicker::cancellingChoosesNone()
{
    QWidget parent;
    parent.show();
    FileDialogFolderPicker picker;
    std::optional<QList<QUrl>> answer;
    QFileDialog *dialog = openDialog(parent, picker, answer);
    QVERIFY(dialog);
    dialog->reject();
    QTRY_VERIFY(answer.has_value());
    QVERIFY(answer->isEmpty());
}

QTEST_MAIN(TestFileDialogFolderPicker)
#include "tst_filedialogfolderpicker.moc"
