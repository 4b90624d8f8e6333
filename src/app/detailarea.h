#pragma once

#include "app/detailviewfactory.h"
#include "historyview/changetimelineinput.h"
#include "preview/changereviewinput.h"
#include "review/capabilityreview.h"

#include <QUuid>
#include <QWidget>

#include <memory>

class QVBoxLayout;

namespace kestrune {

class ChangeReviewView;
class ChangeTimelineView;
class SpecificationResultView;

// The right-hand pane of the main window: one of the preview of the selected Markdown file, the
// project's dashboard, the review or the history of a change, a loading indicator while the project's first
// scan runs, or a placeholder text when no project is imported. The two real views come from a
// DetailViewFactory.
class DetailArea : public QWidget
{
    Q_OBJECT

public:
    enum class Content
    {
        none,
        preview,
        dashboard,
        loading,
        placeholder,
        review,
        result,
        history
    };

    explicit DetailArea(std::unique_ptr<DetailViewFactory> factory, QWidget *parent = nullptr);
    ~DetailArea() override;

    // The preview of a file; the one on show is kept and given the file when the node differs.
    void showPreview(const QUuid &nodeId, const MarkdownPreviewInput &input);
    // The dashboard; the one on show is kept and given the new input when the project or the
    // revision of its summary differs from what it shows.
    void showDashboard(const DashboardInput &input, quint64 summaryRevision);
    // The review of a change; the one on show is kept and given the new input. Returns the view
    // when it was made now, for the caller to connect.
    ChangeReviewView *showReview(const ChangeReviewInput &input);
    // A capability's specification as it will read after a change; made anew every time.
    SpecificationResultView *showSpecificationResult(const QString &changeName,
                                                     const CapabilityReview &capability);
    // The history of a change; the one on show is kept and given the new input (another change
    // is read anew). Returns the view when it was made now, for the caller to connect.
    ChangeTimelineView *showTimeline(const ChangeTimelineInput &input);
    // The loading indicator, with the text of the key (the project's by default).
    void showLoading(const char *textKey = "dashboard.loading");
    void showPlaceholder();

    Content content() const { return m_content; }
    QWidget *currentView() const { return m_view; }

Q_SIGNALS:
    // A view was made and put on show.
    void viewCreated(QWidget *view);
    // The preview on show was given another file.
    void previewFileChanged(QWidget *view);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void replaceView(Content content, QWidget *view);

    std::unique_ptr<DetailViewFactory> m_factory;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_view = nullptr;
    Content m_content = Content::none;
    QUuid m_previewNodeId;
    QUrl m_dashboardRoot;
    quint64 m_dashboardRevision = 0;
    QByteArray m_loadingTextKey;
};

} // namespace kestrune
