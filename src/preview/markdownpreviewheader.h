#pragma once

#include "project/deltaspectype.h"

#include <QUrl>
#include <QWidget>

#include <optional>

class QPushButton;

namespace kestrune {

class DeltaBadge;
class ElidedLabel;
class ViewModeSwitch;

// The top of the preview pane: the file's name over its full path (shortened in the middle),
// then, pushed to the trailing edge, the delta badge of a delta specification, the button that
// lists the file's history, the one that lists the document's headings and the switch between the
// rendered document and the source.
class MarkdownPreviewHeader : public QWidget
{
    Q_OBJECT

public:
    static constexpr int spacing = 8;
    static constexpr int padding = 8;
    static constexpr int titleSpacing = 2;

    explicit MarkdownPreviewHeader(QWidget *parent = nullptr);

    void setFile(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType);

    ElidedLabel *nameLabel() const { return m_name; }
    ElidedLabel *pathLabel() const { return m_path; }
    // Hidden while the file is not a delta specification.
    DeltaBadge *deltaBadge() const { return m_badge; }
    ViewModeSwitch *modeSwitch() const { return m_switch; }
    // Shown beside the badge of a delta specification.
    QPushButton *reviewButton() const { return m_review; }
    QPushButton *resultButton() const { return m_result; }
    // Opens the list of the document's headings; shown beside the switch.
    QPushButton *headingsButton() const { return m_headings; }
    // Lists the file's earlier versions; shown beside the headings button.
    QPushButton *historyButton() const { return m_history; }

private:
    ElidedLabel *m_name = nullptr;
    ElidedLabel *m_path = nullptr;
    DeltaBadge *m_badge = nullptr;
    ViewModeSwitch *m_switch = nullptr;
    QPushButton *m_review = nullptr;
    QPushButton *m_result = nullptr;
    QPushButton *m_headings = nullptr;
    QPushButton *m_history = nullptr;
};

} // namespace kestrune
