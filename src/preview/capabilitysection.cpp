#include "preview/capabilitysection.h"

#include "preview/previewcolors.h"
#include "preview/requirementcard.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrune {

namespace {

QString errorText(CapabilityError error)
{
    switch (error) {
    case CapabilityError::none:
        break;
    case CapabilityError::deltaUnreadable:
        return Localization::text("review.error.delta_unreadable");
    case CapabilityError::specificationUnreadable:
        return Localization::text("review.error.specification_unreadable");
    case CapabilityError::linksOutsideProject:
        return Localization::text("markdown.read_error.outside_project");
    }
    return QString();
}

} // namespace

CapabilitySection::CapabilitySection(const CapabilityReview &capability, QWidget *parent, bool expanded)
    : QWidget(parent), m_capability(capability), m_expanded(expanded), m_toggle(new QToolButton(this)),
      m_counts(new QLabel(this)), m_result(new QPushButton(Localization::text("review.show_result"), this)),
      m_body(new QWidget(this))
{
    setObjectName(QStringLiteral("capabilitySection"));
    m_toggle->setObjectName(QStringLiteral("capabilityToggle"));
    m_toggle->setText(capability.capability);
    m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toggle->setAutoRaise(true);
    m_toggle->setFont(SystemFont::font(17, QFont::Bold));
    m_toggle->setAccessibleDescription(Localization::text("review.toggle_description"));
    m_toggle->setIcon(SymbolIcon::icon(expanded ? u"chevron.down" : u"chevron.right",
                                       PreviewColors::secondaryText.resolve(palette()), 14));
    m_result->setObjectName(QStringLiteral("showResult"));
    m_result->setEnabled(capability.error == CapabilityError::none);
    m_counts->setObjectName(QStringLiteral("capabilityCounts"));
    QStringList details{countsText(capability.counts)};
    if (!capability.specificationFile)
        details.append(Localization::text("review.new_capability"));
    if (const QString error = errorText(capability.error); !error.isEmpty())
        details.append(error);
    for (const QString &name : capability.requirementsOutsideDeltaSections)
        details.append(Localization::format("review.flag.outside_sections", name));
    m_counts->setText(details.join(QStringLiteral(" · ")));
    m_counts->setWordWrap(true);

    auto *header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(m_toggle);
    header->addWidget(m_counts, 1);
    header->addWidget(m_result);

    auto *body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(10);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addLayout(header);
    layout->addWidget(m_body);

    connect(m_toggle, &QToolButton::clicked, this, [this] {
        setExpanded(!m_expanded);
        Q_EMIT expandedChanged(m_expanded);
    });
    connect(m_result, &QPushButton::clicked, this,
            [this] { Q_EMIT showResultRequested(m_capability.capability); });
    buildCards();
}

void CapabilitySection::setExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    m_toggle->setIcon(SymbolIcon::icon(expanded ? u"chevron.down" : u"chevron.right",
                                       PreviewColors::secondaryText.resolve(palette()), 14));
    buildCards();
}

QString CapabilitySection::countsText(const ReviewCounts &counts)
{
    return Localization::format("review.counts.added", counts.added) + QStringLiteral(", ") +
           Localization::format("review.counts.modified", counts.modified) + QStringLiteral(", ") +
           Localization::format("review.counts.removed", counts.removed);
}

void CapabilitySection::setHistoryShown(bool shown)
{
    // A capability the change introduces has no specification to have a history of.
    m_historyShown = shown && m_capability.specificationFile.has_value();
    for (RequirementCard *card : std::as_const(m_cards))
        card->setHistoryShown(m_historyShown);
}

void CapabilitySection::buildCards()
{
    qDeleteAll(m_cards);
    m_cards.clear();
    m_body->setVisible(m_expanded);
    if (!m_expanded)
        return;
    for (const RequirementReview &requirement : std::as_const(m_capability.requirements)) {
        auto *card = new RequirementCard(requirement, m_body);
        card->setHistoryShown(m_historyShown);
        connect(card, &RequirementCard::historyRequested, this,
                [this, card] { Q_EMIT historyRequested(card->requirement().name, card->historyButton()); });
        m_body->layout()->addWidget(card);
        card->show(); // now, not on the next turn: the review may move to it at once
        m_cards.append(card);
    }
}

} // namespace kestrune
