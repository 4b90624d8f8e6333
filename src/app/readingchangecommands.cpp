#include "app/readingchangecommands.h"

#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/mainwindowactions.h"
#include "preview/markdownpreviewview.h"
#include "ui/localization.h"

#include <QAction>

namespace kestrune {

ReadingChangeCommands::ReadingChangeCommands(MainWindowActions &actions, MainContentView &content,
                                             QObject *parent)
    : QObject(parent), m_content(content),
      m_nextChange(new QAction(Localization::text("reading.action.next_change"), this)),
      m_previousChange(new QAction(Localization::text("reading.action.previous_change"), this)),
      m_markAsRead(new QAction(Localization::text("reading.action.mark_read"), this))
{
    m_nextChange->setObjectName(QStringLiteral("nextChange"));
    m_nextChange->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    m_previousChange->setObjectName(QStringLiteral("previousChange"));
    m_previousChange->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    m_markAsRead->setObjectName(QStringLiteral("markAsRead"));
    m_markAsRead->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    actions.add(m_nextChange, MainWindowActions::Group::navigation);
    actions.add(m_previousChange, MainWindowActions::Group::navigation);
    // Among the project's commands, beside Mark All as Read.
    actions.add(m_markAsRead, MainWindowActions::Group::project);

    const auto onPreview = [this](QAction *action, auto command) {
        connect(action, &QAction::triggered, this, [this, command] {
            if (MarkdownPreviewView *preview = m_content.currentPreview())
                (preview->*command)();
        });
    };
    onPreview(m_nextChange, &MarkdownPreviewView::goToNextChange);
    onPreview(m_previousChange, &MarkdownPreviewView::goToPreviousChange);
    onPreview(m_markAsRead, &MarkdownPreviewView::markAsRead);
    connect(&content, &MainContentView::stateChanged, this, &ReadingChangeCommands::followPreview);
    connect(content.detailArea(), &DetailArea::viewCreated, this, &ReadingChangeCommands::followPreview);
    connect(content.detailArea(), &DetailArea::previewFileChanged, this,
            &ReadingChangeCommands::followPreview);
    followPreview();
}

void ReadingChangeCommands::followPreview()
{
    MarkdownPreviewView *preview = m_content.currentPreview();
    if (preview != m_preview) {
        disconnect(m_marksConnection);
        m_preview = preview;
        if (preview)
            m_marksConnection = connect(preview, &MarkdownPreviewView::changeMarksChanged, this,
                                        &ReadingChangeCommands::updateEnabled);
    }
    updateEnabled();
}

void ReadingChangeCommands::updateEnabled()
{
    const MarkdownPreviewView *preview = m_content.currentPreview();
    const bool marked = preview && !preview->changeMarks().isEmpty();
    m_nextChange->setEnabled(marked);
    m_previousChange->setEnabled(marked);
    m_markAsRead->setEnabled(preview && preview->isChangedSinceRead());
}

} // namespace kestrune
