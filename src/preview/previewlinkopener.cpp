#include "preview/previewlinkopener.h"

#include "preview/linktarget.h"
#include "ui/localization.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace kestrune {

PreviewLinkOpener::PreviewLinkOpener(QWidget *dialogParent)
    : QObject(dialogParent), m_dialogParent(dialogParent)
{}

void PreviewLinkOpener::open(const QUrl &link, const QUrl &documentUrl, const QString &projectFolder)
{
    const LinkTarget target = LinkTarget::resolve(link, documentUrl, projectFolder);
    switch (target.kind) {
    case LinkTarget::Kind::pageHeading:
        Q_EMIT pageHeadingRequested(target.fragment);
        return;
    case LinkTarget::Kind::projectFile:
        Q_EMIT openFileRequested(target.url, target.fragment);
        return;
    case LinkTarget::Kind::projectFolder:
        Q_EMIT revealFolderRequested(target.url);
        return;
    case LinkTarget::Kind::web:
        QDesktopServices::openUrl(target.url);
        return;
    case LinkTarget::Kind::desktop:
        // A file elsewhere, or a scheme some program registered, may start a program with what a
        // repository wrote: the reader decides, seeing the whole target.
        confirm(target.url);
        return;
    }
}

QString PreviewLinkOpener::toolTip(const QUrl &link, const QUrl &documentUrl)
{
    return link.isEmpty() ? QString() : LinkTarget::locate(link, documentUrl).displayText();
}

void PreviewLinkOpener::confirm(const QUrl &target)
{
    delete m_confirmation.data(); // one question at a time: the latest link's
    auto *box = new QMessageBox(QMessageBox::Question, Localization::text("markdown.link.confirm_title"),
                                Localization::text("markdown.link.confirm"),
                                QMessageBox::Open | QMessageBox::Cancel, m_dialogParent);
    box->setObjectName(QStringLiteral("linkConfirmation"));
    box->setInformativeText(target.toDisplayString());
    box->setDefaultButton(QMessageBox::Cancel);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, this, [target](int result) {
        if (result == QMessageBox::Open)
            QDesktopServices::openUrl(target);
    });
    m_confirmation = box;
    box->open();
}

} // namespace kestrune
