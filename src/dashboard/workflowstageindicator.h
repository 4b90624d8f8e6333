#pragma once

#include "project/workflowstage.h"

#include <QRectF>
#include <QString>

#include <array>
#include <optional>

class QPainter;
class QPalette;

namespace kestrune {

// Where a draft stands in the proposal → design → specs → tasks workflow: a row of four nodes
// joined by connectors, and under it the four stage names spread from edge to edge.
//
// A node is current at the draft's current stage; an earlier stage whose document exists is
// done; everything else is pending (every node when there is no current stage). A connector is
// finished when the node before it is done and the stage after it has its document or is the
// current one. A label is highlighted up to the current stage where the document exists or the
// stage is the current one.
class WorkflowStageIndicator
{
public:
    enum class NodeState
    {
        pending,
        done,
        current
    };

    static constexpr int stageCount = 4;

    WorkflowStageIndicator(std::optional<WorkflowStage> currentStage, bool hasProposal, bool hasDesign,
                           bool hasSpecs, bool hasTasks);

    NodeState nodeState(int stage) const;
    bool isConnectorFinished(int connector) const;
    bool isLabelHighlighted(int stage) const;
    static QString label(int stage);

    // The height of the two rows; the indicator takes whatever width it is given.
    static int height();
    void paint(QPainter *painter, const QRectF &rect, const QPalette &palette) const;

private:
    bool isPresent(int stage) const;
    // The row of nodes joined by connectors, at the top of `rect`.
    void paintNodeRow(QPainter *painter, const QRectF &rect, const QPalette &palette) const;
    // The stage names under the nodes, spread from edge to edge.
    void paintLabelRow(QPainter *painter, const QRectF &rect, const QPalette &palette) const;

    std::optional<int> m_current;
    std::array<bool, stageCount> m_present{};
};

} // namespace kestrune
