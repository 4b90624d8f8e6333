#include "app/interimpreviewview.h"

#include "app/shellcolors.h"
#include "app/systemfont.h"

#include <QPainter>

InterimPreviewView::InterimPreviewView(const MarkdownPreviewInput &input, QWidget *parent)
    : QWidget(parent)
    , m_input(input)
{
    setObjectName(QStringLiteral("markdownPreview"));
    setAccessibleName(input.fileURL.fileName());
}

void InterimPreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = rect().adjusted(24, 20, -24, -20);
    const QFont name = SystemFont::font(18, QFont::DemiBold);
    painter.setFont(name);
    painter.setPen(ShellColors::strongText.resolve(palette()));
    const int nameHeight = QFontMetrics(name).height();
    painter.drawText(QRect(content.left(), content.top(), content.width(), nameHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_input.fileURL.fileName());
    const QFont path = SystemFont::font(12);
    painter.setFont(path);
    painter.setPen(ShellColors::mutedText.resolve(palette()));
    const QString location = QFontMetrics(path).elidedText(m_input.fileURL.toLocalFile(), Qt::ElideMiddle,
                                                           content.width());
    painter.drawText(QRect(content.left(), content.top() + nameHeight + 4, content.width(), 18),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, location);
}
