#include "historyview/changetimelineview.h"

#include "historyview/changetimelinemodel.h"
#include "historyview/historyunavailabletext.h"
#include "historyview/timelinerowdelegate.h"
#include "ui/centeredtextview.h"
#include "ui/elidedlabel.h"
#include "ui/loadingindicator.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/systemfont.h"
#include "ui/themecolors.h"

#include <QDir>
#include <QFutureWatcher>
#include <QListView>
#include <QPainter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int headerMarginH = 24;
constexpr int headerMarginTop = 20;

} // namespace

ChangeTimelineView::ChangeTimelineView(const ChangeTimelineInput &input, QWidget *parent)
    : QWidget(parent), m_input(input), m_model(new ChangeTimelineModel(this)),
      m_title(new ElidedLabel(QString(), SystemFont::font(20, QFont::Bold), ThemeColors::primaryText, this)),
      m_folder(new ElidedLabel(QString(), SystemFont::font(12), ThemeColors::secondaryText, this)),
      m_status(new ElidedLabel(Localization::text("history.reading"), SystemFont::font(12),
                               ThemeColors::accent, this)),
      m_notice(new NoticeBar(this)),
      m_loading(new LoadingIndicator(Localization::text("history.loading"), ThemeColors::accent,
                                     ThemeColors::secondaryText, this)),
      m_list(new QListView(this)),
      m_placeholder(new CenteredTextView(QString(), ThemeColors::secondaryText, this))
{
    setObjectName(QStringLiteral("changeTimeline"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *header = new QVBoxLayout;
    header->setContentsMargins(headerMarginH, headerMarginTop, headerMarginH, 10);
    header->setSpacing(3);
    header->addWidget(m_title);
    header->addWidget(m_folder);
    header->addWidget(m_status);
    layout->addLayout(header);
    m_notice->setObjectName(QStringLiteral("timelineNotice"));
    m_notice->hide();
    layout->addWidget(m_notice);
    m_stack = new QStackedLayout;
    m_stack->addWidget(m_loading);
    m_stack->addWidget(m_list);
    m_stack->addWidget(m_placeholder);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(headerMarginH - 16, 0, headerMarginH - 16, 0);
    body->addLayout(m_stack);
    layout->addLayout(body, 1);

    m_list->setObjectName(QStringLiteral("timelineRows"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new TimelineRowDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAutoFillBackground(false);
    m_list->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_list);
    // The first row is current as soon as it is there, so the keys move from it.
    connect(m_model, &QAbstractItemModel::rowsInserted, m_list, [this](const QModelIndex &, int first) {
        if (first == 0 && !m_list->currentIndex().isValid())
            m_list->setCurrentIndex(m_model->index(0));
    });
    connect(m_model, &QAbstractItemModel::modelReset, m_list, [this] {
        if (m_model->rowCount() > 0)
            m_list->setCurrentIndex(m_model->index(0));
    });
    start();
}

ChangeTimelineView::~ChangeTimelineView()
{
    cancel();
}

void ChangeTimelineView::setInput(const ChangeTimelineInput &input)
{
    if (input == m_input)
        return;
    m_input = input;
    m_replaceRows = false;
    m_model->reset();
    start();
}

void ChangeTimelineView::reload()
{
    m_replaceRows = m_model->rowCount() > 0;
    start();
}

bool ChangeTimelineView::isReading() const
{
    return m_watcher && m_reading.isRunning();
}

QString ChangeTimelineView::placeholderText() const
{
    return m_stack->currentWidget() == m_placeholder ? m_placeholder->text() : QString();
}

void ChangeTimelineView::cancel()
{
    if (!m_watcher)
        return;
    m_watcher->disconnect(this);
    m_reading.cancel();
    m_watcher->deleteLater();
    m_watcher = nullptr;
}

void ChangeTimelineView::start()
{
    cancel();
    m_outcome.reset();
    updateHeader();
    m_notice->hide();
    if (m_model->rowCount() == 0)
        m_stack->setCurrentWidget(m_loading);
    m_watcher = new QFutureWatcher<ChangeTimelineBatch>(this);
    connect(m_watcher, &QFutureWatcherBase::resultsReadyAt, this, &ChangeTimelineView::onResults);
    connect(m_watcher, &QFutureWatcherBase::finished, this, &ChangeTimelineView::onFinished);
    m_reading = ChangeTimeline::start(m_input.projectFolder, m_input.changeFolder);
    m_watcher->setFuture(m_reading);
    updateHeader();
}

void ChangeTimelineView::onResults(int begin, int end)
{
    QList<ChangeHistoryEvent> events;
    for (int index = begin; index < end; ++index) {
        const ChangeTimelineBatch batch = m_reading.resultAt(index);
        events += batch.entries;
        if (batch.outcome)
            m_outcome = batch.outcome;
    }
    if (m_replaceRows && (!events.isEmpty() || m_outcome)) {
        m_replaceRows = false;
        m_model->reset(events);
    } else {
        m_model->append(events);
    }
    if (m_model->rowCount() > 0)
        m_stack->setCurrentWidget(m_list);
    if (!events.isEmpty())
        Q_EMIT rowsShown(int(events.size()));
}

void ChangeTimelineView::onFinished()
{
    if (m_watcher) {
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    if (m_replaceRows) {
        m_replaceRows = false;
        m_model->reset();
    }
    updateHeader();
    if (m_outcome && m_outcome->end == HistoryOutcome::End::unavailable) {
        showPlaceholder(HistoryUnavailableText::of(m_outcome->reason, m_outcome->messages.join(u' ')));
    } else if (m_model->rowCount() == 0) {
        showPlaceholder(Localization::text("history.empty"));
    } else {
        m_stack->setCurrentWidget(m_list);
    }
    if (m_outcome && m_outcome->isPartial()) {
        m_notice->setText(Localization::text("history.partial").arg(m_outcome->messages.constFirst()));
        m_notice->show();
    }
    Q_EMIT finished();
}

void ChangeTimelineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ThemeColors::paneBackground.resolve(palette()));
}

void ChangeTimelineView::showPlaceholder(const QString &text)
{
    m_placeholder->setText(text);
    m_stack->setCurrentWidget(m_placeholder);
}

void ChangeTimelineView::updateHeader()
{
    m_title->setText(Localization::text("history.title").arg(m_input.changeName));
    m_folder->setText(
        QDir::toNativeSeparators(QDir(m_input.projectFolder).relativeFilePath(m_input.changeFolder)));
    m_status->setVisible(isReading());
    m_list->setAccessibleName(m_title->text());
}

} // namespace kestrune
