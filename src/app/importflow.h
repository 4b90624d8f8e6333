#pragma once

#include "app/folderpicker.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

namespace kestrune {

class ProjectStore;

// How projects are added: folders chosen in the folder picker, or paths named to the program
// (the command line, a second start, a drop on the window). Each path is resolved to the project
// it lies in (see ProjectLocation), which is imported into the store; the paths that name no
// project are listed, each with its reason, in one import-failure alert, which paths failing
// while it is up join.
//
// What to show of an imported project is the root view's part: it hears projectImported().
class ImportFlow : public QObject
{
    Q_OBJECT

public:
    // The alert and the folder picker's question belong to `owner`'s window.
    ImportFlow(ProjectStore &store, std::unique_ptr<FolderPicker> folderPicker, QWidget &owner);
    ~ImportFlow() override;

    // Asks for folders, then imports each as a project of its own.
    void start();
    void importFolder(const QUrl &folder);
    void importFolders(const QList<QUrl> &folders);
    void openPaths(const QStringList &paths);

    // The alert's text: one line per path that could not be opened, with the reason.
    const std::optional<QString> &error() const { return m_error; }
    bool isShowingError() const { return m_showError; }

Q_SIGNALS:
    // A path's project is in the store; `target` is the file or folder inside it the path named
    // (empty for the project folder itself).
    void projectImported(const QUrl &root, const QUrl &target);

private:
    void showErrors(const QStringList &lines);
    QMessageBox *alert();
    void dismissError();

    ProjectStore &m_store;
    std::unique_ptr<FolderPicker> m_folderPicker;
    QWidget &m_owner;
    std::optional<QString> m_error;
    bool m_showError = false;
    QMessageBox *m_alert = nullptr; // a child of m_owner, made on the first failure
};

} // namespace kestrune
