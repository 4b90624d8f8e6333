#include "app/importflow.h"

#include "app/projectlocation.h"
#include "project/projectstore.h"
#include "ui/localization.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace kestrune {

ImportFlow::ImportFlow(ProjectStore &store, std::unique_ptr<FolderPicker> folderPicker, QWidget &owner)
    : QObject(&owner), m_store(store), m_folderPicker(std::move(folderPicker)), m_owner(owner)
{}

ImportFlow::~ImportFlow() = default;

void ImportFlow::start()
{
    m_folderPicker->chooseFolders(m_owner.window(), Localization::text("import.panel.message"),
                                  [guard = QPointer(this)](const QList<QUrl> &folders) {
                                      if (guard && !folders.isEmpty())
                                          guard->importFolders(folders);
                                  });
}

void ImportFlow::importFolder(const QUrl &folder)
{
    importFolders({folder});
}

void ImportFlow::importFolders(const QList<QUrl> &folders)
{
    QStringList paths;
    for (const QUrl &folder : folders)
        paths.append(folder.isLocalFile() ? folder.toLocalFile() : folder.toString());
    openPaths(paths);
}

void ImportFlow::openPaths(const QStringList &paths)
{
    QStringList failures;
    for (const QString &path : paths) {
        const ProjectLocation location = ProjectLocation::resolve(path);
        if (location.error) {
            failures.append(location.errorText());
            continue;
        }
        const QUrl root = QUrl::fromLocalFile(location.projectRoot);
        m_store.importProject(root);
        Q_EMIT projectImported(root,
                               location.target.isEmpty() ? QUrl() : QUrl::fromLocalFile(location.target));
    }
    if (!failures.isEmpty())
        showErrors(failures);
}

void ImportFlow::showErrors(const QStringList &lines)
{
    // Paths that fail while the alert is up join its list, so one alert names them all.
    QStringList shown;
    if (m_showError && m_error)
        shown = m_error->split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!shown.contains(line))
            shown.append(line);
    }
    m_error = shown.join(QLatin1Char('\n'));
    m_showError = true;
    QMessageBox *box = alert();
    const QString title = Localization::text("import.failed.title");
    box->setWindowTitle(title);
    box->setText(title);
    box->setInformativeText(*m_error);
    box->open();
}

QMessageBox *ImportFlow::alert()
{
    if (m_alert)
        return m_alert;
    m_alert = new QMessageBox(&m_owner);
    m_alert->setObjectName(QStringLiteral("importFailedAlert"));
    m_alert->setIcon(QMessageBox::Warning);
    QPushButton *ok = m_alert->addButton(Localization::text("common.ok"), QMessageBox::AcceptRole);
    m_alert->setDefaultButton(ok);
    m_alert->setEscapeButton(ok);
    connect(m_alert, &QDialog::finished, this, &ImportFlow::dismissError);
    return m_alert;
}

void ImportFlow::dismissError()
{
    m_error.reset();
    m_showError = false;
}

} // namespace kestrune
