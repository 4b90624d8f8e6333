#include "app/filedialogfolderpicker.h"

#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QTreeView>

namespace kestrune {

void FileDialogFolderPicker::chooseFolders(QWidget *parent, const QString &message, Completion done)
{
    auto *dialog = new QFileDialog(parent, message, QDir::homePath());
    dialog->setObjectName(QStringLiteral("importFolderDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The dialog's list and detail views choose one entry in folder mode; let them choose several.
    if (auto *list = dialog->findChild<QListView *>(QStringLiteral("listView")))
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView")))
        details->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
        QList<QUrl> folders;
        if (result == QDialog::Accepted) {
            for (const QUrl &url : dialog->selectedUrls()) {
                if (url.isLocalFile())
                    folders.append(url);
            }
        }
        done(folders);
    });
    dialog->open();
}

} // namespace kestrune
