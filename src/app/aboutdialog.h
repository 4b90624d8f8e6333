#pragma once

#include <QDialog>

namespace kestrune {

// The program's name, version, what it is for and its licence, over the application icon.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // "Version 0.1.0": the version the program reports itself with.
    static QString versionText();
};

} // namespace kestrune
