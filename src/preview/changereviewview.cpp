#include "preview/changereviewview.h"

#include "preview/capabilitysection.h"
#include "preview/previewcolors.h"
#include "preview/requirementcard.h"
#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

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
      m_compareLabel(new QLabel(Localization::text("review.baseline.compare_with"), this)),
      m_baselineChoice(new QComboBox(this)), m_baselineNote(new QLabel(this)),
      m_scrollArea(new QScrollArea(this))
{
    setObjectName(QStringLiteral("changeReview"));
    setFocusPolicy(Qt::StrongFocus);
    m_title->setObjectName(QStringLiteral("reviewTitle"));
    m_title->setFont(SystemFont::font(22, QFont::Bold));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail->setObjectName(QStringLiteral("reviewDetail"));
    m_detail->setWordWrap(true);
    m_compareLabel->setObjectName(QStringLiteral("reviewCompareLabel"));
    m_compareLabel->setBuddy(m_baselineChoice);
    m_baselineChoice->setObjectName(QStringLiteral("reviewBaseline"));
    m_baselineChoice->setAccessibleName(Localization::text("review.baseline.compare_with"));
    m_baselineChoice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_baselineChoice->setMinimumContentsLength(28);
    m_baselineChoice->setFocusPolicy(Qt::StrongFocus);
    m_baselineNote->setObjectName(QStringLiteral("reviewBaselineNote"));
    m_baselineNote->setWordWrap(true);
    m_baselineNote->setFont(SystemFont::font(13, QFont::DemiBold));
    m_baselineNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_compareLabel->hide();
    m_baselineChoice->hide();
    m_baselineNote->hide();
    connect(m_baselineChoice, &QComboBox::activated, this, [this](int index) {
        const QString commit = m_baselineChoice->itemData(index).toString();
        const QString shown = m_input.baseline ? m_input.baseline->commit : QString();
        if (commit == shown)
            return;
        const auto chosen = std::find_if(m_baselineChoices.cbegin(), m_baselineChoices.cend(),
                                         [&commit](const ReviewBaseline &b) { return b.commit == commit; });
        showBaselineNote(chosen == m_baselineChoices.cend() ? std::nullopt : std::optional(*chosen), true);
        Q_EMIT baselineRequested(commit);
    });
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->viewport()->setAutoFillBackground(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(pagePadding, pagePadding, 0, 0);
    layout->setSpacing(6);
    auto *titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(0, 0, pagePadding, 0);
    titleRow->setSpacing(8);
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(m_compareLabel);
    titleRow->addWidget(m_baselineChoice);
    layout->addLayout(titleRow);
    layout->addWidget(m_detail);
    layout->addWidget(m_baselineNote);
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

void ChangeReviewView::setBaselineChoices(const QList<ReviewBaseline> &choices)
{
    const bool had = !m_baselineChoices.isEmpty();
    m_baselineChoices = choices;
    fillBaselineChoice();
    m_compareLabel->setVisible(!choices.isEmpty());
    m_baselineChoice->setVisible(!choices.isEmpty());
    if (had != !choices.isEmpty()) {
        for (CapabilitySection *section : std::as_const(m_sections))
            section->setHistoryShown(!choices.isEmpty());
    }
}

void ChangeReviewView::fillBaselineChoice()
{
    const QSignalBlocker blocker(m_baselineChoice);
    m_baselineChoice->clear();
    m_baselineChoice->addItem(Localization::text("review.baseline.current"), QString());
    if (!m_baselineChoices.isEmpty())
        m_baselineChoice->insertSeparator(1);
    QFont highlighted = m_baselineChoice->font();
    highlighted.setBold(true);
    for (const ReviewBaseline &baseline : std::as_const(m_baselineChoices)) {
        const QString text = baseline.beforeChange ? Localization::format("review.baseline.before_change",
                                                                          baseline.description())
                                                   : baseline.description();
        m_baselineChoice->addItem(text, baseline.commit);
        const int index = m_baselineChoice->count() - 1;
        m_baselineChoice->setItemData(index, baseline.commit, Qt::ToolTipRole);
        if (baseline.beforeChange)
            m_baselineChoice->setItemData(index, highlighted, Qt::FontRole);
    }
    // The list shows each commit's subject whole, however narrow the box is.
    int widest = 0;
    for (int index = 0; index < m_baselineChoice->count(); ++index) {
        const QFont font = m_baselineChoice->itemData(index, Qt::FontRole).value<QFont>();
        widest = std::max(widest, QFontMetrics(m_baselineChoice->itemData(index, Qt::FontRole).isValid()
                                                   ? font
                                                   : m_baselineChoice->font())
                                      .horizontalAdvance(m_baselineChoice->itemText(index)));
    }
    m_baselineChoice->view()->setMinimumWidth(std::min(widest + 40, 720));
    const int shown = m_baselineChoice->findData(m_input.baseline ? m_input.baseline->commit : QString());
    m_baselineChoice->setCurrentIndex(std::max(0, shown));
}

void ChangeReviewView::showBaselineNote(const std::optional<ReviewBaseline> &baseline, bool comparing)
{
    QString text;
    if (comparing)
        text = baseline ? Localization::format("review.baseline.comparing", baseline->description())
                        : Localization::text("review.loading");
    else if (baseline)
        text = Localization::format(baseline->beforeChange ? "review.baseline.note_before_change"
                                                           : "review.baseline.note",
                                    baseline->description());
    m_baselineNote->setText(text);
    m_baselineNote->setVisible(!text.isEmpty());
}

void ChangeReviewView::applyColors()
{
    QPalette detailPalette = m_detail->palette();
    detailPalette.setColor(QPalette::WindowText, PreviewColors::secondaryText.resolve(palette()));
    m_detail->setPalette(detailPalette);
    m_compareLabel->setPalette(detailPalette);
    QPalette notePalette = m_baselineNote->palette();
    notePalette.setColor(QPalette::WindowText, PreviewColors::accent.resolve(palette()));
    m_baselineNote->setPalette(notePalette);
}

void ChangeReviewView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
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
    if (review.archived && !m_input.baseline)
        details.append(Localization::text("review.archived_note"));
    if (review.capabilities.isEmpty())
        details.append(Localization::text("review.no_delta_specifications"));
    m_detail->setText(details.join(QStringLiteral(" · ")));
    applyColors();
    showBaselineNote(m_input.baseline, false);
    if (!m_baselineChoices.isEmpty())
        fillBaselineChoice();

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
        section->setHistoryShown(!m_baselineChoices.isEmpty());
        connect(section, &CapabilitySection::historyRequested, this,
                [this, section](const QString &requirement, QWidget *anchor) {
                    if (const std::optional<QUrl> &specification = section->capability().specificationFile)
                        Q_EMIT requirementHistoryRequested(*specification, requirement, anchor);
                });
        m_pageLayout->addWidget(section);
        m_sections.append(section);
    }
    m_pageLayout->addStretch(1);
    m_scrollArea->setWidget(m_page); // deletes the previous page
}

} // namespace kestrune
