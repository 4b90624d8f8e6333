#include "preview/largefilesourceview.h"

#include "preview/previewcolors.h"
#include "preview/sourcetextview.h"
#include "ui/localization.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrune {

LargeFileSourceView::LargeFileSourceView(const QString &text, const QString &notice, QWidget *parent)
    : QWidget(parent), m_notice(new QLabel(notice, this)),
      m_render(new QPushButton(Localization::text("markdown.large.render"), this)),
      m_source(new SourceTextView(text, this))
{
    setObjectName(QStringLiteral("largeFileSource"));
    m_notice->setWordWrap(true);
    m_render->setObjectName(QStringLiteral("renderAnyway"));
    connect(m_render, &QPushButton::clicked, this, &LargeFileSourceView::renderRequested);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(SourceTextView::padding, 8, SourceTextView::padding, 8);
    bar->setSpacing(12);
    bar->addWidget(m_notice, 1);
    bar->addWidget(m_render);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(m_source, 1);
    updateColors();
}

void LargeFileSourceView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateColors();
}

void LargeFileSourceView::updateColors()
{
    QPalette palette = m_notice->palette();
    palette.setColor(QPalette::WindowText, PreviewColors::secondaryText.resolve(this->palette()));
    m_notice->setPalette(palette);
}

} // namespace kestrune
