#include "dashboard/activechangecard.h"

#include "dashboard/dashboardpalette.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace kestrune {

namespace {

constexpr int paddingH = 14;
constexpr int paddingV = 12;
constexpr int stackSpacing = 12;
constexpr int dotSize = 12;
constexpr int defaultSpacing = 8;
constexpr int barHeight = 8;
constexpr float badgeFillOpacity = 0.20f;

QFont nameFont()
{
    return SystemFont::font(18, QFont::Bold, SystemFont::Design::monospaced);
}

QFont captionFont()
{
    return SystemFont::font(11, QFont::Bold);
}

QFont percentFont()
{
    return SystemFont::font(11, QFont::Bold, SystemFont::Design::rounded);
}

} // namespace

ActiveChangeCard::ActiveChangeCard(const ChangeSummary &change, QWidget *parent)
    : QAbstractButton(parent), m_change(change),
      m_badge(Localization::text("dashboard.badge.active"), DashboardPalette::activeAccent, badgeFillOpacity),
      m_progress(change.taskProgressPercent, DashboardPalette::activeAccent),
      m_frame(this, paddingH, paddingV, {DashboardPalette::cardFill, DashboardPalette::cardBorder, {}})
{
    setFocusPolicy(Qt::TabFocus);
    setChange(change);
}

void ActiveChangeCard::setChange(const ChangeSummary &change)
{
    m_change = change;
    m_progress = TaskProgressBar(change.taskProgressPercent, DashboardPalette::activeAccent);
    setText(change.changeName);
    updateAccessibleName();
    update();
}

void ActiveChangeCard::setReadingFacts(const std::optional<ChangeReadingFacts> &facts)
{
    // Every card hears of every new set of facts, most of them unchanged.
    if (facts == m_readingFacts)
        return;
    m_readingFacts = facts;
    updateAccessibleName();
    update();
}

void ActiveChangeCard::updateAccessibleName()
{
    const QString caption = captionText();
    const QString progress = Localization::text("dashboard.task_progress") + QLatin1Char(' ') + percentText();
    const QString name = ChangeCardFrame::accessibleText(
        {m_change.changeName, m_badge.text(), progress,
         caption == Localization::text("dashboard.task_progress") ? QString() : caption});
    if (name != accessibleName()) // a screen reader hears of each new name
        setAccessibleName(name);
}

QString ActiveChangeCard::captionText() const
{
    QString progress = Localization::text("dashboard.task_progress");
    if (!m_readingFacts)
        return progress;
    if (m_readingFacts->isNew)
        return Localization::text("reading.card.new") + QStringLiteral(" · ") + progress;
    const qint64 done = m_readingFacts->tasksDoneSinceLastLook;
    if (done == 1)
        return Localization::text("reading.card.one_task_done");
    if (done > 1)
        return Localization::text("reading.card.tasks_done").arg(done);
    return progress;
}

QString ActiveChangeCard::percentText() const
{
    return Localization::integer("%lld%", m_change.taskProgressPercent);
}

int ActiveChangeCard::headerHeight()
{
    return ChangeCardFrame::headerHeight(nameFont(), dotSize);
}

int ActiveChangeCard::captionHeight()
{
    return std::max(QFontMetrics(captionFont()).height(), QFontMetrics(percentFont()).height());
}

QRectF ActiveChangeCard::progressBarRect() const
{
    const int top = paddingV + headerHeight() + stackSpacing + captionHeight() + stackSpacing;
    return {qreal(paddingH), qreal(top), qreal(std::max(0, width() - 2 * paddingH)), qreal(barHeight)};
}

int ActiveChangeCard::cardHeight()
{
    return paddingV + headerHeight() + stackSpacing + captionHeight() + stackSpacing + barHeight + paddingV;
}

int ActiveChangeCard::minimumWidth()
{
    return ChangeCardFrame::minimumWidth(paddingH);
}

QSize ActiveChangeCard::sizeHint() const
{
    return ChangeCardFrame::sizeHint(cardHeight());
}

QSize ActiveChangeCard::minimumSizeHint() const
{
    return m_frame.minimumSizeHint(cardHeight());
}

void ActiveChangeCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = m_frame.paintSurface(painter);
    const QPalette &pal = palette();
    const int header = headerHeight();
    const QRectF dot =
        m_frame.paintHeader(painter, content, m_badge, m_change.changeName, nameFont(), dotSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DashboardPalette::activeAccent.resolve(pal));
    painter.drawEllipse(dot);

    const QRect caption(content.left(), content.top() + header + stackSpacing, content.width(),
                        captionHeight());
    const QString percent = percentText();
    const QFont percentF = percentFont();
    const int percentWidth = QFontMetrics(percentF).horizontalAdvance(percent);
    painter.setPen(DashboardPalette::secondaryText.resolve(pal));
    painter.setFont(percentF);
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, percent);
    const QFont captionF = captionFont();
    const int labelWidth = std::max(0, caption.width() - percentWidth - defaultSpacing);
    painter.setFont(captionF);
    // What moved since the reader last looked takes the caption's place, in the accent colour.
    const QString captionLabel = captionText();
    if (captionLabel != Localization::text("dashboard.task_progress"))
        painter.setPen(DashboardPalette::activeAccent.resolve(pal));
    painter.drawText(QRect(caption.left(), caption.top(), labelWidth, caption.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(captionF).elidedText(captionLabel, Qt::ElideRight, labelWidth));

    m_progress.paint(&painter, progressBarRect(), pal);

    m_frame.paintFocusRing(painter);
}

void ActiveChangeCard::keyPressEvent(QKeyEvent *event)
{
    if (ChangeCardFrame::isActivationKey(event)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace kestrune
