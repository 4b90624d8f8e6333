#include "dashboard/workflowstageindicator.h"

#include "dashboard/dashboardpalette.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace kestrune {

namespace {

constexpr qreal nodeDiameter = 11;
constexpr qreal currentNodeDiameter = 14;
constexpr qreal nodeRowHeight = currentNodeDiameter;
constexpr qreal nodeOutlineWidth = 1.2;
constexpr qreal connectorHeight = 1.2;
constexpr qreal connectorPadding = 8;
constexpr qreal glowRadius = 4;
constexpr int rowSpacing = 7;
constexpr int labelSpacing = 8; // the platform's default spacing between neighbours in a row

constexpr float currentOutlineOpacity = 0.6f;
constexpr float glowOpacity = 0.35f;
constexpr float pendingOutlineOpacity = 0.22f;
constexpr float finishedConnectorOpacity = 0.7f;
constexpr float openConnectorOpacity = 0.14f;
constexpr float highlightedLabelOpacity = 0.88f;
constexpr float mutedLabelOpacity = 0.92f;

QFont labelFont()
{
    return SystemFont::font(10, QFont::DemiBold);
}

const char *const labelKeys[WorkflowStageIndicator::stageCount] = {
    "dashboard.workflow.proposal",
    "dashboard.workflow.design",
    "dashboard.workflow.specs",
    "dashboard.workflow.tasks",
};

// The glow around the current node: the node's shape blurred by the glow radius, in the accent at
// 35 %.
void paintGlow(QPainter *painter, const QRectF &node, const QPalette &palette)
{
    const qreal d = node.width();
    const qreal outer = d / 2 + glowRadius * 1.5;
    QRadialGradient glow(node.center(), outer);
    QColor strong = DashboardPalette::draftAccent.withOpacity(glowOpacity).resolve(palette);
    QColor half = strong;
    half.setAlphaF(strong.alphaF() / 2);
    QColor none = strong;
    none.setAlphaF(0);
    glow.setColorAt(0, strong);
    glow.setColorAt((d / 2 - glowRadius / 2) / outer, strong);
    glow.setColorAt((d / 2) / outer, half);
    glow.setColorAt(1, none);
    painter->setPen(Qt::NoPen);
    painter->setBrush(glow);
    painter->drawEllipse(node.center(), outer, outer);
}

// A done node is filled in the completed accent; the current one is filled in the draft accent,
// outlined and glowing; a pending one is a faint ring.
void paintNode(QPainter *painter, const QRectF &node, WorkflowStageIndicator::NodeState state,
               const QPalette &palette)
{
    switch (state) {
    case WorkflowStageIndicator::NodeState::done:
        painter->setPen(Qt::NoPen);
        painter->setBrush(DashboardPalette::completedAccent.resolve(palette));
        break;
    case WorkflowStageIndicator::NodeState::current:
        paintGlow(painter, node, palette);
        painter->setBrush(DashboardPalette::draftAccent.resolve(palette));
        painter->setPen(
            QPen(DashboardPalette::draftAccent.withOpacity(currentOutlineOpacity).resolve(palette),
                 nodeOutlineWidth));
        break;
    case WorkflowStageIndicator::NodeState::pending:
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(DashboardPalette::faintInk.withOpacity(pendingOutlineOpacity).resolve(palette),
                             nodeOutlineWidth));
        break;
    }
    painter->drawEllipse(node);
}

} // namespace

WorkflowStageIndicator::WorkflowStageIndicator(std::optional<WorkflowStage> currentStage, bool hasProposal,
                                               bool hasDesign, bool hasSpecs, bool hasTasks)
    : m_present{hasProposal, hasDesign, hasSpecs, hasTasks}
{
    if (currentStage)
        m_current = workflowPosition(*currentStage);
}

bool WorkflowStageIndicator::isPresent(int stage) const
{
    return stage >= 0 && stage < stageCount && m_present[size_t(stage)];
}

WorkflowStageIndicator::NodeState WorkflowStageIndicator::nodeState(int stage) const
{
    if (!m_current)
        return NodeState::pending;
    if (stage == *m_current)
        return NodeState::current;
    if (stage < *m_current && isPresent(stage))
        return NodeState::done;
    return NodeState::pending;
}

bool WorkflowStageIndicator::isConnectorFinished(int connector) const
{
    return nodeState(connector) == NodeState::done &&
           (isPresent(connector + 1) || (m_current && connector + 1 == *m_current));
}

bool WorkflowStageIndicator::isLabelHighlighted(int stage) const
{
    return m_current && stage <= *m_current && (isPresent(stage) || stage == *m_current);
}

QString WorkflowStageIndicator::label(int stage)
{
    return stage >= 0 && stage < stageCount ? Localization::text(labelKeys[stage]) : QString();
}

int WorkflowStageIndicator::height()
{
    return int(nodeRowHeight) + rowSpacing + QFontMetrics(labelFont()).height();
}

void WorkflowStageIndicator::paint(QPainter *painter, const QRectF &rect, const QPalette &palette) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    paintNodeRow(painter, rect, palette);
    paintLabelRow(painter, rect, palette);
    painter->restore();
}

void WorkflowStageIndicator::paintNodeRow(QPainter *painter, const QRectF &rect,
                                          const QPalette &palette) const
{
    // Nodes keep their size, the three connectors share what is left.
    const qreal centreY = rect.top() + nodeRowHeight / 2;
    std::array<qreal, stageCount> diameters{};
    qreal nodesWidth = 0;
    for (int i = 0; i < stageCount; ++i) {
        diameters[size_t(i)] = nodeState(i) == NodeState::current ? currentNodeDiameter : nodeDiameter;
        nodesWidth += diameters[size_t(i)];
    }
    const qreal connectorWidth = std::max(
        0.0, (rect.width() - nodesWidth - (stageCount - 1) * 2 * connectorPadding) / (stageCount - 1));

    qreal x = rect.left();
    for (int i = 0; i < stageCount; ++i) {
        const qreal d = diameters[size_t(i)];
        paintNode(painter, QRectF(x, centreY - d / 2, d, d), nodeState(i), palette);
        x += d;
        if (i < stageCount - 1) {
            const QColor connectorColor =
                isConnectorFinished(i)
                    ? DashboardPalette::completedAccent.withOpacity(finishedConnectorOpacity).resolve(palette)
                    : DashboardPalette::faintInk.withOpacity(openConnectorOpacity).resolve(palette);
            painter->fillRect(
                QRectF(x + connectorPadding, centreY - connectorHeight / 2, connectorWidth, connectorHeight),
                connectorColor);
            x += connectorWidth + 2 * connectorPadding;
        }
    }
}

void WorkflowStageIndicator::paintLabelRow(QPainter *painter, const QRectF &rect,
                                           const QPalette &palette) const
{
    // Laid out on its own: first label at the left edge, last at the right edge, the three flexible
    // spaces between them equal.
    const QFont font = labelFont();
    const QFontMetrics metrics(font);
    std::array<QString, stageCount> labels;
    qreal labelsWidth = 0;
    for (int i = 0; i < stageCount; ++i) {
        labels[size_t(i)] = label(i);
        labelsWidth += metrics.horizontalAdvance(labels[size_t(i)]);
    }
    const int gaps = 2 * (stageCount - 1); // label, space, label, space, …: spacing on both sides of a space
    const qreal flexible =
        std::max(0.0, (rect.width() - labelsWidth - gaps * labelSpacing) / (stageCount - 1));
    const qreal labelTop = rect.top() + nodeRowHeight + rowSpacing;
    painter->setFont(font);
    qreal x = rect.left();
    for (int i = 0; i < stageCount; ++i) {
        const qreal w = metrics.horizontalAdvance(labels[size_t(i)]);
        painter->setPen(
            isLabelHighlighted(i)
                ? DashboardPalette::primaryText.withOpacity(highlightedLabelOpacity).resolve(palette)
                : DashboardPalette::secondaryText.withOpacity(mutedLabelOpacity).resolve(palette));
        painter->drawText(QRectF(x, labelTop, w + 1, metrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, labels[size_t(i)]);
        x += w + 2 * labelSpacing + flexible;
    }
}

} // namespace kestrune
