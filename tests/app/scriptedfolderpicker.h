#pragma once

#include "app/folderpicker.h"

#include <QStringList>

#include <memory>

namespace kestrune {

// Answers the import dialog with a folder chosen by the test, or cancels.
class ScriptedFolderPicker : public FolderPicker
{
public:
    struct Script
    {
        std::optional<QUrl> answer;
        QStringList messages; // what the dialog was asked to show
    };

    explicit ScriptedFolderPicker(std::shared_ptr<Script> script) : m_script(std::move(script)) {}

    void chooseFolder(QWidget *parent, const QString &message, Completion done) override;

private:
    std::shared_ptr<Script> m_script;
};

} // namespace kestrune
