#include "app/detailarea.h"

#include "app/shellcolors.h"
#include "historyview/changetimelineview.h"
#include "preview/changereviewview.h"
#include "preview/specificationresultview.h"
#include "ui/bandedfill.h"
#include "ui/centeredtextview.h"
#include "ui/loadingindicator.h"
#include "ui/localization.h"

#include <QPainter>
#include <QVBoxLayout>

namespace kestrune {

DetailArea::DetailArea(std::unique_ptr<DetailViewFactory> factory, QWidget *parent)
    : QWidget(parent), m_factory(factory ? std::move(factory) : std::make_unique<DetailViewFactory>()),
      m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("detailArea"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

DetailArea::~DetailArea() = default;

void DetailArea::showPreview(const QUuid &nodeId, const MarkdownPreviewInput &input)
{
    if (m_content == Content::preview) {
        if (m_previewNodeId != nodeId) {
            m_factory->updateMarkdownPreview(m_view, input);
            m_previewNodeId = nodeId;
            Q_EMIT previewFileChanged(m_view);
        }
    } else {
        replaceView(Content::preview, m_factory->createMarkdownPreview(input, this));
    }
    m_previewNodeId = nodeId;
}

void DetailArea::showDashboard(const DashboardInput &input, quint64 summaryRevision)
{
    if (m_content == Content::dashboard) {
        if (m_dashboardRoot != input.projectRoot || m_dashboardRevision != summaryRevision)
            m_factory->updateDashboard(m_view, input);
    } else {
        replaceView(Content::dashboard, m_factory->createDashboard(input, this));
    }
    m_dashboardRoot = input.projectRoot;
    m_dashboardRevision = summaryRevision;
}

ChangeReviewView *DetailArea::showReview(const ChangeReviewInput &input)
{
    if (m_content == Content::review) {
        static_cast<ChangeReviewView *>(m_view)->setInput(input);
        return nullptr;
    }
    auto *view = new ChangeReviewView(input, this);
    replaceView(Content::review, view);
    return view;
}

SpecificationResultView *DetailArea::showSpecificationResult(const QString &changeName,
                                                             const CapabilityReview &capability)
{
    auto *view = new SpecificationResultView(changeName, capability, this);
    replaceView(Content::result, view);
    return view;
}

ChangeTimelineView *DetailArea::showTimeline(const ChangeTimelineInput &input)
{
    if (m_content == Content::history) {
        static_cast<ChangeTimelineView *>(m_view)->setInput(input);
        return nullptr;
    }
    auto *view = new ChangeTimelineView(input, this);
    replaceView(Content::history, view);
    return view;
}

void DetailArea::showLoading(const char *textKey)
{
    if (m_content == Content::loading && m_loadingTextKey == textKey)
        return;
    m_loadingTextKey = textKey;
    replaceView(Content::loading, new LoadingIndicator(Localization::text(textKey), ShellColors::accent,
                                                       ShellColors::mutedText, this));
}

void DetailArea::showPlaceholder()
{
    if (m_content == Content::placeholder)
        return;
    replaceView(Content::placeholder,
                new CenteredTextView(Localization::text("dashboard.select_project_or_file"),
                                     ShellColors::mutedText, this));
}

void DetailArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    BandedFill::fillRect(painter, rect(), ShellColors::detailBackground.resolve(palette()));
}

void DetailArea::replaceView(Content content, QWidget *view)
{
    if (m_view) {
        m_layout->removeWidget(m_view);
        m_view->hide();
        // Deferred: the old view may be the sender of the event that led here.
        m_view->deleteLater();
    }
    if (content != Content::preview)
        m_previewNodeId = QUuid();
    m_content = content;
    m_view = view;
    m_layout->addWidget(m_view);
    m_view->show();
    Q_EMIT viewCreated(m_view);
}

} // namespace kestrune
