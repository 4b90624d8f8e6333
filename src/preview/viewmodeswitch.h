#pragma once

#include "preview/markdownviewmode.h"

#include <QWidget>

class QButtonGroup;

namespace kestrune {

class SegmentButton;

// The segmented switch of the preview's header: "markdown.preview" and "markdown.source" side by
// side, exactly one of them chosen. 160 wide; it has no label of its own.
class ViewModeSwitch : public QWidget
{
    Q_OBJECT

public:
    static constexpr int fixedWidth = 160;

    explicit ViewModeSwitch(QWidget *parent = nullptr);

    MarkdownViewMode mode() const { return m_mode; }
    // Shows the mode as chosen without announcing it.
    void setMode(MarkdownViewMode mode);
    SegmentButton *segment(MarkdownViewMode mode) const;

Q_SIGNALS:
    // The user chose another mode.
    void modeChosen(MarkdownViewMode mode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QButtonGroup *m_group = nullptr;
    MarkdownViewMode m_mode = MarkdownViewMode::preview;
};

} // namespace kestrune
