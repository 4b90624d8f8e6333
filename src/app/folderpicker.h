#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace kestrune {

// Asks the user for folders, one or several at once. The import flow goes through this
// interface so that tests can answer in place of the dialog.
class FolderPicker
{
public:
    using Completion = std::function<void(const QList<QUrl> &folders)>;

    virtual ~FolderPicker() = default;

    // Shows the question and returns; `done` runs later with the chosen folders, or with none
    // when the user cancels. `parent` also bounds the lifetime of the question.
    virtual void chooseFolders(QWidget *parent, const QString &message, Completion done) = 0;
};

} // namespace kestrune
