#include "dashboard/changesectionview.h"

#include "dashboard/changesectionheader.h"
#include "dashboard/dashboardpalette.h"
#include "ui/separatorline.h"

#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int stackSpacing = 12;

} // namespace

ChangeSectionView::ChangeSectionView(const QString &title, DynamicColor accent, QWidget *parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)),
      m_header(new ChangeSectionHeader(title, accent, this)),
      m_divider(new SeparatorLine(Qt::Horizontal, DashboardPalette::dividerLine, this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(stackSpacing);
    m_layout->addWidget(m_header);
    m_layout->addWidget(m_divider);
    connect(m_header, &QAbstractButton::clicked, this, [this] {
        setExpanded(!m_expanded);
        Q_EMIT expandedChanged(m_expanded);
    });
}

ChangeSectionView::~ChangeSectionView() = default;

void ChangeSectionView::setContent(qint64 count, ContentBuilder builder)
{
    m_header->setCount(count);
    m_builder = std::move(builder);
    rebuildContent();
}

void ChangeSectionView::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    m_header->setExpanded(expanded);
    rebuildContent();
}

void ChangeSectionView::rebuildContent()
{
    if (m_content) {
        m_layout->removeWidget(m_content);
        // Not deleteLater: a collapsed section must not keep a grid of hundreds of cards around
        // until the next turn of the event loop. The header, not the content, sent the click.
        delete m_content;
        m_content = nullptr;
    }
    if (m_expanded && m_builder) {
        m_content = m_builder(this);
        if (m_content)
            m_layout->addWidget(m_content);
    }
}

} // namespace kestrune
