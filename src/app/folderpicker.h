#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

namespace kestrune {

// Asks the user for one folder. The import flow goes through this interface so that tests can
// answer in place of the dialog.
class FolderPicker
{
public:
    using Completion = std::function<void(const std::optional<QUrl> &folder)>;

    virtual ~FolderPicker() = default;

    // Shows the question and returns; `done` runs later with the chosen folder, or with nothing
    // when the user cancels. `parent` also bounds the lifetime of the question.
    virtual void chooseFolder(QWidget *parent, const QString &message, Completion done) = 0;
};

} // namespace kestrune
