#pragma once

#include "app/folderpicker.h"

namespace kestrune {

// Asks for folders with Qt's own file dialog: folders only, several at once (Ctrl or Shift and a
// click, as in a file list). The desktop's dialog is not asked, since it chooses one folder at a
// time.
class FileDialogFolderPicker : public FolderPicker
{
public:
    void chooseFolders(QWidget *parent, const QString &message, Completion done) override;
};

} // namespace kestrune
