#pragma once

#include "dashboard/folderactions.h"

#include <QList>
#include <QPair>

namespace kestrune {

// Stands in for the desktop: notes what the dashboard asks for.
class RecordingFolderActions : public FolderActions
{
public:
    struct Log
    {
        QList<QUrl> opened;
        QList<QPair<QString, QString>> revealed; // item, root
    };

    explicit RecordingFolderActions(Log *log) : m_log(log) {}

    void openFolder(const QUrl &folder) override { m_log->opened.append(folder); }
    void revealItem(const QString &itemPath, const QString &rootPath) override
    {
        m_log->revealed.append({itemPath, rootPath});
    }

private:
    Log *m_log;
};

} // namespace kestrune
