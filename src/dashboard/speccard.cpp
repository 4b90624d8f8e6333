#include "dashboard/speccard.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/elisiontooltip.h"
#include "dashboard/hoverhighlightmodifier.h"
#include "dashboard/specmenubutton.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace kestrune {

namespace {

constexpr int paddingTop = 10;
constexpr int paddingLeading = 12;
constexpr int paddingBottom = 10;
constexpr int paddingTrailing = 10;
constexpr int spacing = 10;
constexpr int iconSize = 16;
constexpr qreal cornerRadius = 14;
constexpr float nameOpacity = 0.94f;

QFont nameFont()
{
    return SystemFont::font(14, QFont::DemiBold, SystemFont::Design::rounded);
}

QFont requirementFont()
{
    return SystemFont::font(12, QFont::Medium);
}

} // namespace

SpecCard::SpecCard(const QString &name, qint64 requirementCount, QWidget *parent)
    : QWidget(parent), m_name(name), m_requirements(requirementTextFor(requirementCount)),
      m_menuButton(new SpecMenuButton(this)), m_nameToolTip(new ElisionToolTip(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(name);
    setAccessibleDescription(m_requirements);
    // One of many such buttons: it names its specification.
    m_menuButton->setAccessibleName(Localization::format("dashboard.open_in_finder_named_format", name));
    connect(m_menuButton, &QAbstractButton::clicked, this,
            [this] { menu()->popup(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()))); });
    new HoverHighlightModifier(cornerRadius, this);
}

QMenu *SpecCard::menu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        QAction *reveal = m_menu->addAction(Localization::text("dashboard.open_in_finder"));
        connect(reveal, &QAction::triggered, this, [this] { Q_EMIT revealRequested(m_name); });
    }
    return m_menu;
}

QAction *SpecCard::revealAction()
{
    return menu()->actions().constFirst();
}

QString SpecCard::requirementTextFor(qint64 requirementCount)
{
    return Localization::format("dashboard.summary.reqs_format", requirementCount);
}

int SpecCard::trailingWidth(const QString &text)
{
    return QFontMetrics(requirementFont()).horizontalAdvance(text) + spacing + SpecMenuButton::side;
}

int SpecCard::nameRoom() const
{
    // The requirement text and the menu keep their width; the name takes what is left.
    return std::max(0, width() - paddingLeading - paddingTrailing - iconSize - spacing - spacing -
                           trailingWidth());
}

QString SpecCard::shownName() const
{
    return QFontMetrics(nameFont()).elidedText(m_name, Qt::ElideRight, nameRoom());
}

int SpecCard::cardHeight()
{
    const int content = std::max({iconSize, QFontMetrics(nameFont()).height(),
                                  QFontMetrics(requirementFont()).height(), int(SpecMenuButton::side)});
    return paddingTop + content + paddingBottom;
}

int SpecCard::minimumWidth(const QString &text)
{
    return paddingLeading + iconSize + 2 * spacing + trailingWidth(text) + paddingTrailing;
}

int SpecCard::minimumWidth(qint64 requirementCount)
{
    return minimumWidth(requirementTextFor(requirementCount));
}

QSize SpecCard::sizeHint() const
{
    const int width = paddingLeading + iconSize + spacing +
                      QFontMetrics(nameFont()).horizontalAdvance(m_name) + spacing + trailingWidth() +
                      paddingTrailing;
    return {width, cardHeight()};
}

QSize SpecCard::minimumSizeHint() const
{
    return {minimumWidth(m_requirements), cardHeight()};
}

void SpecCard::resizeEvent(QResizeEvent *event)
{
    const int content = height() - paddingTop - paddingBottom;
    m_menuButton->move(width() - paddingTrailing - SpecMenuButton::side,
                       paddingTop + (content - SpecMenuButton::side) / 2);
    QWidget::resizeEvent(event);
}

void SpecCard::setRequirementsChanged(bool changed)
{
    if (changed == m_requirementsChanged)
        return;
    m_requirementsChanged = changed;
    setAccessibleDescription(changed ? Localization::text("reading.card.requirements_changed") : QString());
    update();
}

void SpecCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    CardSurface::paint(&painter, QRectF(rect()), cornerRadius, DashboardPalette::cardFill.resolve(pal),
                       DashboardPalette::cardBorder.resolve(pal));

    const QRect content(paddingLeading, paddingTop, width() - paddingLeading - paddingTrailing,
                        height() - paddingTop - paddingBottom);
    const qreal middle = content.top() + content.height() / 2.0;
    SymbolIcon::paint(&painter, QRectF(content.left(), middle - iconSize / 2.0, iconSize, iconSize),
                      u"doc.text", DashboardPalette::activeAccent.resolve(pal));
    if (m_requirementsChanged) {
        constexpr qreal markSize = 7;
        painter.setPen(QPen(DashboardPalette::cardFill.resolve(pal), 1.5));
        painter.setBrush(DashboardPalette::activeAccent.resolve(pal));
        painter.drawEllipse(QRectF(content.left() + iconSize - markSize + 2, middle - iconSize / 2.0 - 2,
                                   markSize, markSize));
    }

    painter.setFont(nameFont());
    painter.setPen(DashboardPalette::primaryText.withOpacity(nameOpacity).resolve(pal));
    const QString name = shownName();
    m_nameToolTip->setShownText(m_name, name != m_name);
    painter.drawText(QRect(content.left() + iconSize + spacing, content.top(), nameRoom(), content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);

    const QFont requirements = requirementFont();
    const int requirementsRight = m_menuButton->x() - spacing;
    painter.setFont(requirements);
    painter.setPen((m_requirementsChanged ? DashboardPalette::activeAccent : DashboardPalette::secondaryText)
                       .resolve(pal));
    painter.drawText(
        QRect(content.left(), content.top(), requirementsRight - content.left(), content.height()),
        Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, m_requirements);
}

} // namespace kestrune
