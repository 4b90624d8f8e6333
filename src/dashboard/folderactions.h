#pragma once

#include <QString>
#include <QUrl>

namespace kestrune {

// What the dashboard asks of the desktop: open a folder with its default handler (the file
// manager), and show an item selected in a file-manager window. Neither reports failure. Tests
// put a recording stand-in in place of the desktop.
class FolderActions
{
public:
    virtual ~FolderActions() = default;

    virtual void openFolder(const QUrl &folder) = 0;
    // Selects the item (a folder or file path) in the file manager; `rootPath` is the folder to
    // show instead when the file manager cannot be asked to select anything.
    virtual void revealItem(const QString &itemPath, const QString &rootPath) = 0;
};

} // namespace kestrune
