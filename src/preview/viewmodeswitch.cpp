#include "preview/viewmodeswitch.h"

#include "preview/previewcolors.h"
#include "preview/segmentbutton.h"
#include "ui/localization.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int inset = 2;
constexpr qreal cornerRadius = 6;

} // namespace

ViewModeSwitch::ViewModeSwitch(QWidget *parent) : QWidget(parent), m_group(new QButtonGroup(this))
{
    setFixedWidth(fixedWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(inset);
    m_group->setExclusive(true);
    for (const MarkdownViewMode mode : {MarkdownViewMode::preview, MarkdownViewMode::source}) {
        const char *key = mode == MarkdownViewMode::preview ? "markdown.preview" : "markdown.source";
        auto *button = new SegmentButton(Localization::text(key), this);
        button->setObjectName(rawValue(mode));
        // Two exclusive choices: announced as radio buttons with their checked state, not as
        // check boxes (Qt's role for a checkable button that is not auto-exclusive). The group
        // keeps them exclusive either way.
        button->setAutoExclusive(true);
        m_group->addButton(button, int(mode));
        layout->addWidget(button);
    }
    m_group->button(int(m_mode))->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        const auto mode = MarkdownViewMode(id);
        if (mode == m_mode)
            return;
        m_mode = mode;
        Q_EMIT modeChosen(mode);
    });
}

void ViewModeSwitch::setMode(MarkdownViewMode mode)
{
    m_mode = mode;
    m_group->button(int(mode))->setChecked(true);
}

SegmentButton *ViewModeSwitch::segment(MarkdownViewMode mode) const
{
    return static_cast<SegmentButton *>(m_group->button(int(mode)));
}

void ViewModeSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(track, PreviewColors::switchTrack.resolve(palette()));
}

} // namespace kestrune
