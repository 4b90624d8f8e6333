#pragma once

#include "app/folderpicker.h"

namespace kestrune {

// Asks for a folder with the platform's file dialog: folders only, one at a time.
class FileDialogFolderPicker : public FolderPicker
{
public:
    void chooseFolder(QWidget *parent, const QString &message, Completion done) override;
};

} // namespace kestrune
