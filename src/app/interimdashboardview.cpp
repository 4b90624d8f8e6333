#include "app/interimdashboardview.h"

#include "app/localization.h"
#include "app/shellcolors.h"
#include "app/systemfont.h"

#include <QPainter>

InterimDashboardView::InterimDashboardView(const DashboardInput &input, QWidget *parent)
    : QWidget(parent), m_input(input)
{
    setObjectName(QStringLiteral("dashboard"));
    setAccessibleName(input.projectName);
}

void InterimDashboardView::setInput(const DashboardInput &input)
{
    m_input = input;
    setAccessibleName(input.projectName);
    update();
}

void InterimDashboardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = rect().adjusted(28, 28, -28, -28);
    const QFont title = SystemFont::font(22, QFont::Bold);
    painter.setFont(title);
    painter.setPen(ShellColors::strongText.resolve(palette()));
    const int titleHeight = QFontMetrics(title).height();
    painter.drawText(QRect(content.left(), content.top(), content.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_input.projectName);

    const ProjectSummary &summary = m_input.summary;
    const QString counts =
        QStringList{
            Localization::text("dashboard.summary.specs") + QStringLiteral(" ") +
                QString::number(summary.specCount),
            Localization::text("dashboard.summary.draft") + QStringLiteral(" ") +
                QString::number(summary.draftCount),
            Localization::text("dashboard.summary.active") + QStringLiteral(" ") +
                QString::number(summary.activeChanges),
            Localization::text("dashboard.summary.archive") + QStringLiteral(" ") +
                QString::number(summary.archivedChanges),
        }
            .join(QStringLiteral("  ·  "));
    painter.setFont(SystemFont::font(13));
    painter.setPen(ShellColors::mutedText.resolve(palette()));
    painter.drawText(QRect(content.left(), content.top() + titleHeight + 8, content.width(), 20),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, counts);
}
