#include "preview/changereviewview.h"

#include "preview/capabilitysection.h"
#include "preview/previewcolors.h"
#include "preview/requirementcard.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int pagePadding = 20;
constexpr qsizetype largeReview = 40; // requirements

QString statusText(const std::optional<ChangeStatus> &status)
{
    if (!status)
        return QString();
    switch (*status) {
    case ChangeStatus::draft:
        return Localization::text("dashboard.badge.draft");
    case ChangeStatus::active:
        return Localization::text("dashboard.badge.active");
    case ChangeStatus::completed:
        return Localization::text("dashboard.badge.completed");
    case ChangeStatus::archived:
        return Localization::text("dashboard.summary.archive");
    }
    return QString();
}

} // namespace

ChangeReviewView::ChangeReviewView(const ChangeReviewInput &input, QWidget *parent)
    : QWidget(parent), m_input(input), m_title(new QLabel(this)), m_detail(new QLabel(this)),
      m_scrollArea(new QScrollArea(this))
{
    setObjectName(QStringLiteral("changeReview"));
    setFocusPolicy(Qt::StrongFocus);
    m_title->setObjectName(QStringLiteral("reviewTitle"));
    m_title->setFont(SystemFont::font(22, QFont::Bold));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail->setObjectName(QStringLiteral("reviewDetail"));
    m_detail->setWordWrap(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->viewport()->setAutoFillBackground(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(pagePadding, pagePadding, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_title);
    layout->addWidget(m_detail);
    layout->addSpacing(8);
    layout->addWidget(m_scrollArea, 1);
    // A card the reader clicks or tabs to is where N and P go on from.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (auto *card = qobject_cast<RequirementCard *>(now); card && isAncestorOf(card))
            m_current = card;
    });
    rebuild();
}

void ChangeReviewView::setInput(const ChangeReviewInput &input)
{
    const int scroll = m_scrollArea->verticalScrollBar()->value();
    m_input = input;
    rebuild();
    // The page takes its new height once laid out.
    m_page->adjustSize();
    m_scrollArea->verticalScrollBar()->setValue(scroll);
}

RequirementCard *ChangeReviewView::currentCard() const
{
    if (m_current)
        return m_current;
    // After a new comparison: the card of the same requirement.
    for (CapabilitySection *section : m_sections) {
        for (RequirementCard *card : section->cards()) {
            if (section->capability().capability == m_currentCapability &&
                card->requirement().name == m_currentRequirement)
                return card;
        }
    }
    return nullptr;
}

bool ChangeReviewView::showNextDifference()
{
    return showDifference(1);
}

bool ChangeReviewView::showPreviousDifference()
{
    return showDifference(-1);
}

bool ChangeReviewView::showDifference(int step)
{
    const QList<RequirementCard *> cards = openNotableCards();
    if (cards.isEmpty())
        return false;
    const qsizetype current = cards.indexOf(currentCard());
    const qsizetype next = current < 0 ? (step > 0 ? 0 : cards.size() - 1) : current + step;
    if (next < 0 || next >= cards.size())
        return false;
    RequirementCard *card = cards.at(next);
    for (CapabilitySection *section : std::as_const(m_sections)) {
        if (section->cards().contains(card))
            m_currentCapability = section->capability().capability;
    }
    m_currentRequirement = card->requirement().name;
    m_current = card;
    // A section opened on the way lays out its cards now, so that the card has its place.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    m_scrollArea->ensureWidgetVisible(card, 0, 24);
    card->setFocus(Qt::OtherFocusReason);
    return true;
}

QList<RequirementCard *> ChangeReviewView::openNotableCards()
{
    QList<RequirementCard *> cards;
    for (CapabilitySection *section : std::as_const(m_sections)) {
        const QList<RequirementReview> &requirements = section->capability().requirements;
        if (!section->isExpanded() &&
            std::any_of(requirements.cbegin(), requirements.cend(), &RequirementCard::isNotable))
            section->setExpanded(true);
        for (RequirementCard *card : section->cards()) {
            if (RequirementCard::isNotable(card->requirement()))
                cards.append(card);
        }
    }
    return cards;
}

void ChangeReviewView::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    if (plain && (event->key() == Qt::Key_N ||
                  (event->key() == Qt::Key_F7 && !(event->modifiers() & Qt::ShiftModifier)))) {
        showNextDifference();
        return;
    }
    if (plain && (event->key() == Qt::Key_P ||
                  (event->key() == Qt::Key_F7 && (event->modifiers() & Qt::ShiftModifier)))) {
        showPreviousDifference();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChangeReviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PreviewColors::paneBackground.resolve(palette()));
}

void ChangeReviewView::rebuild()
{
    const ChangeReview &review = m_input.review;
    m_title->setText(review.changeName);
    QStringList details;
    if (const QString status = statusText(m_input.status); !status.isEmpty())
        details.append(status);
    details.append(CapabilitySection::countsText(review.counts));
    if (review.archived)
        details.append(Localization::text("review.archived_note"));
    if (review.capabilities.isEmpty())
        details.append(Localization::text("review.no_delta_specifications"));
    m_detail->setText(details.join(QStringLiteral(" · ")));
    QPalette detailPalette = m_detail->palette();
    detailPalette.setColor(QPalette::WindowText, PreviewColors::secondaryText.resolve(palette()));
    m_detail->setPalette(detailPalette);

    for (CapabilitySection *section : std::as_const(m_sections))
        m_expanded.insert(section->capability().capability, section->isExpanded());
    m_sections.clear();
    m_page = new QWidget;
    m_page->setObjectName(QStringLiteral("reviewPage"));
    m_page->setAutoFillBackground(false);
    m_pageLayout = new QVBoxLayout(m_page);
    m_pageLayout->setContentsMargins(0, 0, pagePadding, pagePadding);
    m_pageLayout->setSpacing(22);
    // Every card renders its text: a large change opens its first capability only, and the
    // others as the reader (or N and P) comes to them.
    qsizetype requirements = 0;
    for (const CapabilityReview &capability : review.capabilities)
        requirements += capability.requirements.size();
    const bool large = requirements > largeReview;
    for (const CapabilityReview &capability : review.capabilities) {
        const bool first = m_sections.isEmpty();
        auto *section = new CapabilitySection(capability, m_page,
                                              m_expanded.value(capability.capability, !large || first));
        connect(section, &CapabilitySection::showResultRequested, this,
                &ChangeReviewView::showResultRequested);
        m_pageLayout->addWidget(section);
        m_sections.append(section);
    }
    m_pageLayout->addStretch(1);
    m_scrollArea->setWidget(m_page); // deletes the previous page
}

} // namespace kestrune
