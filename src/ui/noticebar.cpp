#include "ui/noticebar.h"

#include "ui/localization.h"
#include "ui/standardcolors.h"
#include "ui/symbolicon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace kestrune {

namespace {

constexpr int symbolSize = 16;

} // namespace

NoticeBar::NoticeBar(QWidget *parent)
    : QWidget(parent), m_symbol(new QLabel(this)), m_text(new QLabel(this)), m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("noticeBar"));
    m_text->setObjectName(QStringLiteral("noticeText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_symbol->setFixedSize(symbolSize, symbolSize);
    m_close->setObjectName(QStringLiteral("noticeClose"));
    m_close->setAutoRaise(true);
    m_close->setToolTip(Localization::text("common.close"));
    m_close->setAccessibleName(Localization::text("common.close"));
    m_close->hide();
    connect(m_close, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT closed();
    });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(m_symbol, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_close, 0, Qt::AlignTop);
    setAccessibleName(QString());
    applyColors();
}

QString NoticeBar::text() const
{
    return m_text->text();
}

void NoticeBar::setText(const QString &text)
{
    m_text->setText(text);
    setAccessibleDescription(text);
}

void NoticeBar::setClosable(bool closable)
{
    m_close->setVisible(closable);
}

void NoticeBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), tint.resolve(palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), symbolColor.resolve(palette()).darker(110));
}

void NoticeBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void NoticeBar::applyColors()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap symbol = SymbolIcon::pixmap(u"exclamationmark.triangle", int(symbolSize * ratio),
                                        symbolColor.resolve(palette()));
    symbol.setDevicePixelRatio(ratio);
    m_symbol->setPixmap(symbol);
    m_close->setIcon(SymbolIcon::icon(u"xmark", StandardColors::secondaryText.resolve(palette()), 14));
    QPalette textPalette = m_text->palette();
    textPalette.setColor(QPalette::WindowText, StandardColors::primaryText.resolve(palette()));
    m_text->setPalette(textPalette);
}

} // namespace kestrune
