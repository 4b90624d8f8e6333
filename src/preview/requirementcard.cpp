#include "preview/requirementcard.h"

#include "preview/deltabadge.h"
#include "preview/fittedmarkdownview.h"
#include "preview/previewcolors.h"
#include "preview/reviewmarkup.h"
#include "ui/localization.h"
#include "ui/standardcolors.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"
#include "ui/themecolors.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int padding = 14;
constexpr qreal cornerRadius = 12;

constexpr DynamicColor warning = dynamicColor(1.0f, 0.7f, 0.25f, 1.0f, 0.72f, 0.4f, 0.0f, 1.0f);

QString markdownOf(const RequirementReview &requirement)
{
    if (requirement.hunks.isEmpty())
        return requirement.kind == DeltaSpecType::removed ? QString() : requirement.proposedText;
    return ReviewMarkup::markedMarkdown(requirement.hunks);
}

} // namespace

RequirementCard::RequirementCard(const RequirementReview &requirement, QWidget *parent)
    : QWidget(parent), m_requirement(requirement), m_name(new QLabel(requirement.name, this)),
      m_badge(new DeltaBadge(requirement.kind, this)), m_findings(new QLabel(this)),
      m_text(new FittedMarkdownView(markdownOf(requirement), this)), m_history(new QToolButton(this))
{
    setObjectName(QStringLiteral("requirementCard"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(requirement.name);
    m_name->setObjectName(QStringLiteral("requirementName"));
    m_name->setFont(SystemFont::font(14, QFont::DemiBold));
    m_name->setWordWrap(true);
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_findings->setObjectName(QStringLiteral("requirementFindings"));
    m_findings->setWordWrap(true);
    m_findings->setFont(SystemFont::font(12, QFont::Medium));
    m_text->setObjectName(QStringLiteral("requirementText"));
    m_history->setObjectName(QStringLiteral("requirementHistory"));
    m_history->setText(Localization::text("review.history.action"));
    m_history->setAccessibleDescription(Localization::format("review.history.title", requirement.name));
    m_history->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_history->setAutoRaise(true);
    m_history->setFont(SystemFont::font(12, QFont::Normal));
    m_history->setVisible(false);
    connect(m_history, &QToolButton::clicked, this, &RequirementCard::historyRequested);

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(m_name, 1);
    header->addWidget(m_history, 0, Qt::AlignTop);
    header->addWidget(m_badge, 0, Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(8);
    layout->addLayout(header);
    layout->addWidget(m_findings);
    layout->addWidget(m_text);
    if (!requirement.note.trimmed().isEmpty()) {
        m_note = new FittedMarkdownView(requirement.note, this);
        m_note->setObjectName(QStringLiteral("requirementNote"));
        layout->addWidget(m_note);
    }

    const QStringList findings = findingTexts();
    m_findings->setText(findings.join(QLatin1Char('\n')));
    m_findings->setVisible(!findings.isEmpty());
    m_text->setVisible(!markdownOf(requirement).isEmpty());
    applyColors();
}

void RequirementCard::setHistoryShown(bool shown)
{
    m_history->setVisible(shown);
}

bool RequirementCard::hasDifferences() const
{
    return std::any_of(m_requirement.hunks.cbegin(), m_requirement.hunks.cend(),
                       [](const DiffHunk &hunk) { return hunk.operation != DiffOperation::equal; });
}

bool RequirementCard::isNotable(const RequirementReview &requirement)
{
    return requirement.flags != ReviewFlags() || requirement.state != RequirementState::pending ||
           std::any_of(requirement.hunks.cbegin(), requirement.hunks.cend(),
                       [](const DiffHunk &hunk) { return hunk.operation != DiffOperation::equal; });
}

QStringList RequirementCard::findingTexts() const
{
    QStringList texts;
    const ReviewFlags flags = m_requirement.flags;
    if (flags & ReviewFlag::existsInSpecification)
        texts.append(Localization::text("review.flag.exists"));
    if (flags & ReviewFlag::missingFromSpecification) {
        texts.append(m_requirement.suggestion
                         ? Localization::format("review.flag.missing_suggestion", *m_requirement.suggestion)
                         : Localization::text("review.flag.missing"));
    }
    if (flags & ReviewFlag::duplicateInChange)
        texts.append(Localization::text("review.flag.duplicate_in_change"));
    if (flags & ReviewFlag::duplicateInSpecification)
        texts.append(Localization::text("review.flag.duplicate_in_specification"));
    if (m_requirement.state == RequirementState::alreadyInSpecification)
        texts.append(Localization::text("review.state.already_in_specification"));
    return texts;
}

void RequirementCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(bounds, cornerRadius, cornerRadius);
    painter.fillPath(path, ThemeColors::cardFill.resolve(palette()));
    const bool flagged = m_requirement.flags != ReviewFlags();
    painter.setPen(QPen((flagged ? warning : ThemeColors::cardBorder).resolve(palette()), flagged ? 1.5 : 1));
    painter.drawPath(path);
    if (hasFocus()) {
        painter.setPen(QPen(PreviewColors::accent.resolve(palette()), 2));
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), cornerRadius - 1, cornerRadius - 1);
    }
}

void RequirementCard::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void RequirementCard::applyColors()
{
    QPalette names = m_name->palette();
    names.setColor(QPalette::WindowText, PreviewColors::primaryText.resolve(palette()));
    m_name->setPalette(names);
    QPalette findings = m_findings->palette();
    findings.setColor(QPalette::WindowText, warning.resolve(palette()));
    m_findings->setPalette(findings);
    m_history->setIcon(SymbolIcon::icon(u"clock", PreviewColors::secondaryText.resolve(palette()), 14));
}

} // namespace kestrune
