#pragma once

#include "app/folderpicker.h"

#include <QStringList>

#include <memory>

namespace kestrune {

// Answers the import dialog with the folders chosen by the test, or cancels (none).
class ScriptedFolderPicker : public FolderPicker
{
public:
    struct Script
    {
        QList<QUrl> answer;
        QStringList messages; // what the dialog was asked to show
    };

    explicit ScriptedFolderPicker(std::shared_ptr<Script> script) : m_script(std::move(script)) {}

    void chooseFolders(QWidget *parent, const QString &message, Completion done) override;

private:
    std::shared_ptr<Script> m_script;
};

} // namespace kestrune
