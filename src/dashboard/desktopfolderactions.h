#pragma once

#include "dashboard/folderactions.h"

namespace kestrune {

// The desktop's own services: QDesktopServices opens folders; selecting an item goes to the
// file manager over D-Bus (org.freedesktop.FileManager1, ShowItems), and when no file manager
// answers there, the root folder is opened instead. Nothing blocks: the D-Bus call is
// asynchronous.
class DesktopFolderActions : public FolderActions
{
public:
    void openFolder(const QUrl &folder) override;
    void revealItem(const QString &itemPath, const QString &rootPath) override;
};

} // namespace kestrune
