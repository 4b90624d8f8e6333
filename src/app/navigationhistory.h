#pragma once

#include "preview/markdownpreviewview.h"

#include <QList>
#include <QUrl>

#include <optional>

namespace kestrune {

// The places a window showed, for its Back and Forward commands. A step is a project and what
// its detail area showed: a file, at the reading position the reader left it at, the review or
// the history of a change, or the dashboard. Going back puts the place on show first in line forward; going
// somewhere new drops the steps forward. Two places of one file (a jump to a heading of it) are
// two steps; the same place at the same position twice in a row is one.
class NavigationHistory
{
public:
    struct Step
    {
        QUrl projectRoot;
        std::optional<QUrl> file;         // a Markdown file
        std::optional<QUrl> reviewFolder; // else the review of this change; else the dashboard
        std::optional<MarkdownPreviewView::ReadingPosition> position; // of the file, on leaving it
        std::optional<QUrl> historyFolder;                            // else the history of this change

        // The same file, review, history or dashboard of the same project, wherever the reader
        // was in it.
        bool isSamePlace(const Step &other) const
        {
            return projectRoot == other.projectRoot && file == other.file &&
                   reviewFolder == other.reviewFolder && historyFolder == other.historyFolder;
        }
    };

    // The oldest steps are forgotten beyond this many in either direction.
    static constexpr qsizetype limit = 100;

    // The reader left `step` for another place.
    void leave(const Step &step);
    bool canGoBack() const { return !m_back.isEmpty(); }
    bool canGoForward() const { return !m_forward.isEmpty(); }
    // The step to show going back from `current`, which is first in line forward then; nothing at
    // the start. forward() is the other way round.
    std::optional<Step> back(const Step &current);
    std::optional<Step> forward(const Step &current);
    // Forgets the steps in a project that was closed.
    void removeProject(const QUrl &root);

    const QList<Step> &backSteps() const { return m_back; }
    const QList<Step> &forwardSteps() const { return m_forward; }

private:
    static void push(QList<Step> &steps, const Step &step);

    QList<Step> m_back;    // the latest last
    QList<Step> m_forward; // the next last
};

} // namespace kestrune
