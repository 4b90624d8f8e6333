#include "scriptedfolderpicker.h"

#include <QTimer>
#include <QWidget>

namespace kestrune {

void ScriptedFolderPicker::chooseFolders(QWidget *parent, const QString &message, Completion done)
{
    m_script->messages.append(message);
    // Like a real dialog, the answer comes after the call has returned.
    QTimer::singleShot(0, parent, [answer = m_script->answer, done = std::move(done)] { done(answer); });
}

} // namespace kestrune
