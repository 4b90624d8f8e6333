#include "app/filedialogfolderpicker.h"

#include <QDir>
#include <QFileDialog>

namespace kestrune {

void FileDialogFolderPicker::chooseFolder(QWidget *parent, const QString &message, Completion done)
{
    auto *dialog = new QFileDialog(parent, message, QDir::homePath());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
        const QList<QUrl> urls = dialog->selectedUrls();
        if (result != QDialog::Accepted || urls.isEmpty() || !urls.constFirst().isLocalFile()) {
            done(std::nullopt);
            return;
        }
        done(urls.constFirst());
    });
    dialog->open();
}

} // namespace kestrune
