#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAction;

namespace kestrune {

class MainContentView;
class MainWindowActions;
class MarkdownPreviewView;

// The window's commands for what changed in the file on show since it was last read: Next
// Change and Previous Change (Alt+Down, Alt+Up, beside Back and Forward on Alt+Left and
// Alt+Right; no key a text field edits with) go from one change mark to the next in the mode on
// show, and Mark as Read (Ctrl+M) clears the marks and the notice that the file changed. Each
// is listed with the window's commands and enabled while it applies to the preview on show,
// following its marks as they are computed and cleared.
class ReadingChangeCommands : public QObject
{
    Q_OBJECT

public:
    ReadingChangeCommands(MainWindowActions &actions, MainContentView &content, QObject *parent = nullptr);

    QAction *nextChange() const { return m_nextChange; }
    QAction *previousChange() const { return m_previousChange; }
    QAction *markAsRead() const { return m_markAsRead; }

private:
    // Follows the marks of the preview on show, when another one took its place.
    void followPreview();
    void updateEnabled();

    MainContentView &m_content;
    QAction *m_nextChange = nullptr;
    QAction *m_previousChange = nullptr;
    QAction *m_markAsRead = nullptr;
    QPointer<MarkdownPreviewView> m_preview;
    QMetaObject::Connection m_marksConnection;
};

} // namespace kestrune
