#include "dashboard/dashboardview.h"

#include "dashboard/activechangecard.h"
#include "dashboard/adaptivegridlayout.h"
#include "dashboard/archivedchangerow.h"
#include "dashboard/changesectionview.h"
#include "dashboard/completedchangerow.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/desktopfolderactions.h"
#include "dashboard/draftchangecard.h"
#include "dashboard/emptystatetext.h"
#include "dashboard/linkbutton.h"
#include "dashboard/speccard.h"
#include "dashboard/speccatalogsheet.h"
#include "dashboard/summarycardview.h"
#include "project/planningpath.h"
#include "reading/readingpaths.h"
#include "ui/bandedfill.h"
#include "ui/elidedlabel.h"
#include "ui/localization.h"
#include "ui/separatorline.h"
#include "ui/systemfont.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int pageInsetH = 28;
constexpr int pageInsetV = 24;
constexpr int blockSpacing = 30;
constexpr int blockInnerSpacing = 10;
constexpr int specBlockBottomPadding = 6;
constexpr int dividerBottomPadding = 4;

constexpr int summaryMinimumWidth = 190;
constexpr int summarySpacing = 14;
constexpr int changeMinimumWidth = 320;
constexpr int changeColumnSpacing = 14;
constexpr int changeRowSpacing = 12;
constexpr int specMinimumWidth = 340;
constexpr int specSpacing = 12;

struct SectionDescription
{
    const char *titleKey;
    const char *emptyKey;
    DynamicColor accent;
    ChangeStatus status;
};

SectionDescription describe(DashboardView::Section section)
{
    switch (section) {
    case DashboardView::Section::draft:
        return {"dashboard.section.draft_changes", "dashboard.empty.draft_changes",
                DashboardPalette::draftAccent, ChangeStatus::draft};
    case DashboardView::Section::active:
        return {"dashboard.section.active_changes", "dashboard.empty.active_changes",
                DashboardPalette::activeAccent, ChangeStatus::active};
    case DashboardView::Section::completed:
        return {"dashboard.section.completed", "dashboard.empty.completed", DashboardPalette::completedAccent,
                ChangeStatus::completed};
    case DashboardView::Section::archive:
        break;
    }
    return {"dashboard.section.archive", "dashboard.empty.archived", DashboardPalette::secondaryText,
            ChangeStatus::archived};
}

QFont summaryTitleFont()
{
    QFont font = SystemFont::font(14, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    return font;
}

QFont specificationsTitleFont()
{
    QFont font = SystemFont::font(16, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.3);
    return font;
}

// A counter as the summary cards show it: digits and a leading minus, never grouped.
QString plainInteger(qint64 value)
{
    return QString::number(value);
}

} // namespace

DashboardView::DashboardView(const DashboardInput &input, QWidget *parent)
    : DashboardView(input, std::make_unique<DesktopFolderActions>(), parent)
{}

DashboardView::DashboardView(const DashboardInput &input, std::unique_ptr<FolderActions> actions,
                             QWidget *parent)
    : QWidget(parent), m_input(input),
      m_actions(actions ? std::move(actions) : std::make_unique<DesktopFolderActions>())
{
    setObjectName(QStringLiteral("dashboard"));
    setAccessibleName(input.projectName);
    // Its canvas is opaque and covers it whole: what lies beneath (the window's own gradient and
    // the pane's tint) is not painted first, two fills of the page's size a frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    buildPage();
    refresh();
    // Only now: the scroll area measures the column when it receives it, and the texts must be
    // in place by then.
    m_scrollArea->setWidget(m_content);
    // setWidget turns the widget's auto-fill on, which would cover the gradient with the window
    // colour.
    m_content->setAutoFillBackground(false);
    connect(&m_cardQueue, &CardBuildQueue::finished, this, &DashboardView::cardsBuilt);
}

DashboardView::~DashboardView() = default;

void DashboardView::buildPage()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The gradient is painted by this widget, under a transparent scroll area, so it stays put
    // while the column scrolls.
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->setAutoFillBackground(false);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    // The cards take the focus and scroll into view; the page itself is no stop of its own.
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(m_scrollArea);

    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("dashboardContent"));
    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(pageInsetH, pageInsetV, pageInsetH, pageInsetV);
    column->setSpacing(blockSpacing);

    column->addLayout(buildSummaryBlock());
    for (const Section section : allSections) {
        const SectionDescription description = describe(section);
        auto *view =
            new ChangeSectionView(Localization::text(description.titleKey), description.accent, m_content);
        connect(view, &ChangeSectionView::expandedChanged, this, [this, section](bool expanded) {
            m_expanded[size_t(section)] = expanded;
            m_cardQueue.buildNowIfAtMost(smallPageCardCount);
        });
        m_sections[size_t(section)] = view;
        column->addWidget(view);
    }
    column->addLayout(buildSpecificationsBlock());
    // Below the last block: its extra padding (a spacer takes no block spacing), then whatever
    // room is left when the page is shorter than the window.
    column->addSpacing(specBlockBottomPadding);
    column->addStretch(1);
}

QLayout *DashboardView::buildSummaryBlock()
{
    auto *block = new QVBoxLayout;
    block->setSpacing(blockInnerSpacing);
    block->addWidget(new ElidedLabel(Localization::text("dashboard.summary.title"), summaryTitleFont(),
                                     DashboardPalette::primaryText.withOpacity(0.84f), m_content));

    auto *grid = new AdaptiveGridLayout(summaryMinimumWidth, summarySpacing, summarySpacing);
    // The cards lift and cast their shadow into the room around them.
    grid->setItemOverhang(SummaryCardView::overhang());
    const std::array<std::pair<const char *, const char *>, 4> cards = {{
        {"dashboard.summary.specs", "doc.text"},
        {"dashboard.summary.draft", "clock"},
        {"dashboard.summary.active", "dot.scope"},
        {"dashboard.summary.archive", "archivebox"},
    }};
    for (size_t i = 0; i < cards.size(); ++i) {
        m_summaryCards[i] = new SummaryCardView(Localization::text(cards[i].first), QString(), QString(),
                                                QString::fromLatin1(cards[i].second), m_content);
        grid->addWidget(m_summaryCards[i]);
    }
    block->addLayout(grid);
    return block;
}

QLayout *DashboardView::buildSpecificationsBlock()
{
    m_specBlock = new QVBoxLayout;
    m_specBlock->setSpacing(blockInnerSpacing);

    m_specBlock->addWidget(new SeparatorLine(Qt::Horizontal, DashboardPalette::dividerLine, m_content));
    m_specBlock->addSpacing(dividerBottomPadding);

    auto *header = new QHBoxLayout;
    header->setSpacing(8);
    m_specTitle = new ElidedLabel(QString(), specificationsTitleFont(),
                                  DashboardPalette::secondaryText.withOpacity(0.93f), m_content);
    auto *button =
        new LinkButton(Localization::text("dashboard.view_catalog"), SystemFont::font(12, QFont::Bold),
                       DashboardPalette::activeAccent, m_content);
    // Both sit on the bottom of the row; the button is lifted by the difference of the two
    // descents so that the texts share their baseline.
    const int descentGap = QFontMetrics(specificationsTitleFont()).descent() -
                           QFontMetrics(SystemFont::font(12, QFont::Bold)).descent();
    button->setContentsMargins(0, 0, 0, std::max(0, descentGap));
    connect(button, &QAbstractButton::clicked, this, [this] { setShowSpecCatalog(true); });
    m_viewCatalogButton = button;
    header->addWidget(m_specTitle, 0, Qt::AlignBottom);
    header->addStretch(1);
    header->addWidget(button, 0, Qt::AlignBottom);
    m_specBlock->addLayout(header);
    return m_specBlock;
}

void DashboardView::setInput(const DashboardInput &input)
{
    m_input = input;
    setAccessibleName(input.projectName);
    refresh();
}

void DashboardView::refresh()
{
    const ProjectSummary &summary = m_input.summary;
    m_summaryCards[0]->setValue(
        plainInteger(summary.specCount),
        Localization::format("dashboard.summary.reqs_format", summary.specReqsCount.value_or(0)));
    m_summaryCards[1]->setValue(plainInteger(summary.draftCount), QString());
    m_summaryCards[2]->setValue(plainInteger(summary.activeChanges), QString());
    m_summaryCards[3]->setValue(plainInteger(summary.archivedChanges), QString());

    for (const Section section : allSections) {
        QList<ChangeSummary> changes = changesWithStatus(summary, statusOf(section));
        ChangeSectionView *view = m_sections[size_t(section)];
        view->setExpanded(m_expanded[size_t(section)]);
        // A project that is followed on disk brings a new summary for every ticked task: the
        // sections whose changes look the same keep their cards (and the focus among them).
        std::optional<QList<ChangeSummary>> &shown = m_shownChanges[size_t(section)];
        if (shown && sameAsShown(*shown, changes))
            continue;
        if (shown && updateCardsInPlace(section, *shown, changes)) {
            shown = std::move(changes);
            continue;
        }
        shown = std::move(changes);
        view->setContent(shown->size(),
                         [this, section](QWidget *parent) { return buildSectionContent(section, parent); });
    }

    m_specTitle->setText(
        Localization::format("dashboard.specifications.title_with_count", qint64(summary.specNames.size())));
    if (!m_specBody || m_shownSpecNames != summary.specNames ||
        m_shownSpecRequirementCounts != summary.specRequirementCounts) {
        if (m_specBody) {
            m_specBlock->removeWidget(m_specBody);
            delete m_specBody;
        }
        m_specBody = buildSpecificationsBody(m_content);
        m_specBlock->addWidget(m_specBody);
        m_shownSpecNames = summary.specNames;
        m_shownSpecRequirementCounts = summary.specRequirementCounts;
    }

    if (m_sheet)
        m_sheet->setSummary(summary);
    m_cardQueue.buildNowIfAtMost(smallPageCardCount);
}

bool DashboardView::sameAsShown(const QList<ChangeSummary> &shown, const QList<ChangeSummary> &changes)
{
    // Everything a card shows or acts on; the id names a node of one scan only and is left out.
    const auto same = [](const ChangeSummary &left, const ChangeSummary &right) {
        return left.changeName == right.changeName && left.changeDirectoryURL == right.changeDirectoryURL &&
               left.status == right.status && left.workflowStage == right.workflowStage &&
               left.currentDraftStage == right.currentDraftStage && left.hasProposal == right.hasProposal &&
               left.hasDesign == right.hasDesign && left.hasSpecs == right.hasSpecs &&
               left.hasTasks == right.hasTasks && left.taskProgressPercent == right.taskProgressPercent &&
               left.completedAt == right.completedAt && left.archivedAt == right.archivedAt;
    };
    return std::equal(shown.cbegin(), shown.cend(), changes.cbegin(), changes.cend(), same);
}

namespace {

// The heights of a section's cards before they are made: a card's height depends on its change
// only through whether it shows a date, so each of the two is measured once.
class CardHeights
{
public:
    explicit CardHeights(DashboardView::Section section) : m_section(section) {}

    int of(const ChangeSummary &change)
    {
        bool withDate = false;
        if (m_section == DashboardView::Section::completed)
            withDate = CompletedChangeRow::showsDate(change);
        else if (m_section == DashboardView::Section::archive)
            withDate = ArchivedChangeRow::showsCaption(change);
        int &height = m_heights[withDate ? 1 : 0];
        if (height < 0)
            height = measure(withDate);
        return height;
    }

private:
    int measure(bool withDate) const
    {
        switch (m_section) {
        case DashboardView::Section::draft:
            return DraftChangeCard::cardHeight();
        case DashboardView::Section::active:
            return ActiveChangeCard::cardHeight();
        case DashboardView::Section::completed:
            return CompletedChangeRow::rowHeight(withDate);
        case DashboardView::Section::archive:
            break;
        }
        return ArchivedChangeRow::rowHeight(withDate);
    }

    DashboardView::Section m_section;
    std::array<int, 2> m_heights = {-1, -1};
};

template <typename Card>
void updateCards(QWidget *content, const QList<ChangeSummary> &changes, CardHeights heights)
{
    // The grid holds the cards in the order of the list they were made from; a card still to be
    // made keeps the room of the card it will be.
    auto *grid = qobject_cast<AdaptiveGridLayout *>(content->layout());
    for (int index = 0; grid && index < grid->count() && index < changes.size(); ++index) {
        if (auto *card = qobject_cast<Card *>(grid->itemAt(index)->widget()))
            card->setChange(changes.at(index));
        else if (grid->isPlaceholder(index))
            grid->resizePlaceholder(index, heights.of(changes.at(index)), Card::minimumWidth());
    }
}

} // namespace

bool DashboardView::updateCardsInPlace(Section section, const QList<ChangeSummary> &shown,
                                       const QList<ChangeSummary> &changes)
{
    // Only when the same changes stay in the same order: a ticked task, not a change moving.
    const auto sameChange = [](const ChangeSummary &left, const ChangeSummary &right) {
        return left.changeName == right.changeName && left.changeDirectoryURL == right.changeDirectoryURL;
    };
    if (changes.isEmpty() ||
        !std::equal(shown.cbegin(), shown.cend(), changes.cbegin(), changes.cend(), sameChange))
        return false;
    QWidget *content = m_sections[size_t(section)]->content();
    if (!content)
        return true; // collapsed: built from the new summary when opened
    m_gridChanges[size_t(section)] = changes;
    switch (section) {
    case Section::draft:
        updateCards<DraftChangeCard>(content, changes, CardHeights(section));
        break;
    case Section::active:
        updateCards<ActiveChangeCard>(content, changes, CardHeights(section));
        break;
    case Section::completed:
        updateCards<CompletedChangeRow>(content, changes, CardHeights(section));
        break;
    case Section::archive:
        updateCards<ArchivedChangeRow>(content, changes, CardHeights(section));
        break;
    }
    return true;
}

QList<ChangeSummary> DashboardView::changesWithStatus(const ProjectSummary &summary, ChangeStatus status)
{
    QList<ChangeSummary> changes;
    for (const ChangeSummary &change : summary.changeSummaries) {
        if (change.status == status)
            changes.append(change);
    }
    return changes;
}

ChangeStatus DashboardView::statusOf(Section section)
{
    return describe(section).status;
}

QWidget *DashboardView::buildSectionContent(Section section, QWidget *parent)
{
    const SectionDescription description = describe(section);
    const QList<ChangeSummary> changes = changesWithStatus(m_input.summary, description.status);
    if (changes.isEmpty()) {
        return new EmptyStateText(Localization::text(description.emptyKey),
                                  section == Section::archive ? EmptyStateText::Spacing::roomy
                                                              : EmptyStateText::Spacing::standard,
                                  parent);
    }
    auto *container = new QWidget(parent);
    auto *grid = new AdaptiveGridLayout(changeMinimumWidth, changeColumnSpacing, changeRowSpacing, container);
    const int minimumWidth = cardMinimumWidth(section);
    CardHeights heights(section);
    for (const ChangeSummary &change : changes)
        grid->addPlaceholder(heights.of(change), minimumWidth);
    m_gridChanges[size_t(section)] = changes;
    m_cardQueue.add(int(section), container, grid, [this, section](int index, QWidget *cardParent) {
        return createRow(section, m_gridChanges[size_t(section)].at(index), cardParent);
    });
    return container;
}

int DashboardView::cardMinimumWidth(Section section)
{
    switch (section) {
    case Section::draft:
        return DraftChangeCard::minimumWidth();
    case Section::active:
        return ActiveChangeCard::minimumWidth();
    case Section::completed:
        return CompletedChangeRow::minimumWidth();
    case Section::archive:
        break;
    }
    return ArchivedChangeRow::minimumWidth();
}

void DashboardView::setShowsHistory(bool shows)
{
    m_showsHistory = shows;
}

QMenu *DashboardView::changeMenu(const ChangeSummary &change)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // An archived change is reviewed from its folder in the outline, not from its row.
    if (change.status != ChangeStatus::archived) {
        QAction *review = menu->addAction(Localization::text("review.action"));
        connect(review, &QAction::triggered, this,
                [this, folder = change.changeDirectoryURL] { Q_EMIT reviewRequested(folder); });
    }
    if (m_showsHistory) {
        QAction *history = menu->addAction(Localization::text("history.action"));
        history->setObjectName(QStringLiteral("historyAction"));
        connect(history, &QAction::triggered, this,
                [this, folder = change.changeDirectoryURL] { Q_EMIT historyRequested(folder); });
    }
    return menu;
}

QWidget *DashboardView::createRow(Section section, const ChangeSummary &change, QWidget *parent)
{
    QWidget *row = createCard(section, change, parent);
    // The card keeps the change it shows up to date (setChange): ask it, not the capture.
    row->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(row, &QWidget::customContextMenuRequested, this, [this, row, section](const QPoint &position) {
        const ChangeSummary *change = nullptr;
        if (section == Section::draft)
            change = &static_cast<DraftChangeCard *>(row)->change();
        else if (section == Section::active)
            change = &static_cast<ActiveChangeCard *>(row)->change();
        else if (section == Section::completed)
            change = &static_cast<CompletedChangeRow *>(row)->change();
        else
            change = &static_cast<ArchivedChangeRow *>(row)->change();
        QMenu *menu = changeMenu(*change);
        if (menu->actions().isEmpty())
            menu->deleteLater(); // an archived row in a project without history
        else
            menu->popup(row->mapToGlobal(position));
    });
    return row;
}

QWidget *DashboardView::createCard(Section section, const ChangeSummary &change, QWidget *parent)
{
    switch (section) {
    case Section::draft: {
        auto *card = new DraftChangeCard(change, parent);
        if (const std::optional<ChangeReadingFacts> facts = readingFactsOf(change))
            card->setNew(facts->isNew);
        connect(card, &QAbstractButton::clicked, this, [this, card] { openProposal(card->change()); });
        return card;
    }
    case Section::active: {
        auto *card = new ActiveChangeCard(change, parent);
        card->setReadingFacts(readingFactsOf(change));
        connect(card, &QAbstractButton::clicked, this, [this, card] { openChangeFolder(card->change()); });
        return card;
    }
    case Section::completed: {
        auto *row = new CompletedChangeRow(change, parent);
        connect(row, &QAbstractButton::clicked, this, [this, row] { openChangeFolder(row->change()); });
        return row;
    }
    case Section::archive:
        break;
    }
    auto *row = new ArchivedChangeRow(change, parent);
    connect(row, &QAbstractButton::clicked, this, [this, row] { openProposal(row->change()); });
    return row;
}

QWidget *DashboardView::buildSpecificationsBody(QWidget *parent)
{
    const ProjectSummary &summary = m_input.summary;
    if (summary.specNames.isEmpty())
        return new EmptyStateText(Localization::text("dashboard.empty.specifications"),
                                  EmptyStateText::Spacing::standard, parent);
    auto *container = new QWidget(parent);
    auto *grid = new AdaptiveGridLayout(specMinimumWidth, specSpacing, specSpacing, container);
    const int height = SpecCard::cardHeight();
    QHash<qint64, int> minimumWidths; // one measurement per requirement count
    for (const QString &name : summary.specNames) {
        const qint64 count = summary.specRequirementCounts.value(name, 0);
        auto width = minimumWidths.find(count);
        if (width == minimumWidths.end())
            width = minimumWidths.insert(count, SpecCard::minimumWidth(count));
        grid->addPlaceholder(height, *width);
    }
    // The body is made again whenever a name or a count changes: the cards still to be made
    // take them from here.
    m_cardQueue.add(int(allSections.size()), container, grid,
                    [this, names = summary.specNames,
                     counts = summary.specRequirementCounts](int index, QWidget *cardParent) {
                        const QString &name = names.at(index);
                        auto *card = new SpecCard(name, counts.value(name, 0), cardParent);
                        card->setRequirementsChanged(requirementsChangedOf(name));
                        connect(card, &SpecCard::revealRequested, this, &DashboardView::revealSpecFolder);
                        return card;
                    });
    return container;
}

void DashboardView::setReadingFacts(const std::optional<CardReadingFacts> &facts)
{
    if (facts == m_readingFacts)
        return;
    m_readingFacts = facts;
    // The cards made so far; those still to come take their facts when made. One walk of the
    // page finds the three kinds: a large page has thousands of widgets, and the facts of a
    // first import arrive while it is being made.
    const QList<QWidget *> widgets = m_content->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (auto *active = qobject_cast<ActiveChangeCard *>(widget)) {
            active->setReadingFacts(readingFactsOf(active->change()));
        } else if (auto *draft = qobject_cast<DraftChangeCard *>(widget)) {
            const std::optional<ChangeReadingFacts> change = readingFactsOf(draft->change());
            draft->setNew(change && change->isNew);
        } else if (auto *spec = qobject_cast<SpecCard *>(widget)) {
            spec->setRequirementsChanged(requirementsChangedOf(spec->name()));
        }
    }
}

std::optional<ChangeReadingFacts> DashboardView::readingFactsOf(const ChangeSummary &change) const
{
    if (!m_readingFacts)
        return std::nullopt;
    QString rootPath = m_input.projectRoot.path();
    while (rootPath.size() > 1 && rootPath.endsWith(u'/'))
        rootPath.chop(1);
    // The path alone: a URL adjusted for each of thousands of cards cost more than the lookup.
    QString relative = ReadingPaths::relativeTo(rootPath, change.changeDirectoryURL);
    while (relative.endsWith(u'/'))
        relative.chop(1);
    const auto it = m_readingFacts->changes.constFind(relative);
    if (it == m_readingFacts->changes.cend())
        return std::nullopt;
    return *it;
}

bool DashboardView::requirementsChangedOf(const QString &specName) const
{
    if (!m_readingFacts)
        return false;
    for (const SpecificationReadingFacts &facts : m_readingFacts->specifications) {
        const std::optional<PlanningPath> path = ReadingPaths::planningPathOf(facts.relativePath, false);
        if (path && path->capability == specName && facts.requirementsChanged)
            return true;
    }
    return false;
}

void DashboardView::setExpanded(Section section, bool expanded)
{
    m_expanded[size_t(section)] = expanded;
    m_sections[size_t(section)]->setExpanded(expanded);
    m_cardQueue.buildNowIfAtMost(smallPageCardCount);
}

void DashboardView::setShowSpecCatalog(bool show)
{
    if (m_showSpecCatalog == show)
        return;
    m_showSpecCatalog = show;
    if (show) {
        auto *sheet = new SpecCatalogSheet(m_input.summary, this);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        // However the dialog goes away (Done, Escape, the window's close button), the state
        // follows.
        connect(sheet, &QDialog::finished, this, [this, sheet] {
            if (m_sheet == sheet)
                setShowSpecCatalog(false);
        });
        m_sheet = sheet;
        sheet->open();
    } else if (SpecCatalogSheet *sheet = m_sheet) {
        m_sheet = nullptr;
        if (sheet->isVisible())
            sheet->done(QDialog::Accepted);
    }
    Q_EMIT specCatalogShownChanged(show);
}

void DashboardView::openChangeFolder(const ChangeSummary &change)
{
    m_actions->openFolder(change.changeDirectoryURL);
}

void DashboardView::openProposal(const ChangeSummary &change)
{
    if (!change.hasProposal) {
        openChangeFolder(change);
        return;
    }
    Q_EMIT fileRequested(QUrl::fromLocalFile(
        QDir(change.changeDirectoryURL.toLocalFile()).filePath(QStringLiteral("proposal.md"))));
}

QString DashboardView::specRevealPath(const QString &projectRootPath, const QString &name)
{
    // A specification name is one folder or file name; anything that could lead out of the
    // specifications folder is refused.
    if (projectRootPath.isEmpty() || name.isEmpty() || name == QLatin1String(".") ||
        name == QLatin1String("..") || name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return {};
    QString root = projectRootPath;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    const QString specsFolder =
        (root == QLatin1String("/") ? QString() : root) + QLatin1String("/kestrune/specs/");
    QString folder = specsFolder + name;
    // A specification kept as a single file has no folder of its own: select its file instead.
    if (!QFileInfo(folder).isDir()) {
        QString file = folder + QLatin1String(".md");
        if (QFileInfo(file).isFile())
            return file;
    }
    return folder;
}

void DashboardView::revealSpecFolder(const QString &name)
{
    if (m_input.projectRoot.isEmpty() || !m_input.projectRoot.isLocalFile())
        return;
    QString root = m_input.projectRoot.toLocalFile();
    const QString item = specRevealPath(root, name);
    if (item.isEmpty())
        return;
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    m_actions->revealItem(item, root);
}

void DashboardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, DashboardPalette::canvasTop.resolve(palette()));
    gradient.setColorAt(1, DashboardPalette::canvasBottom.resolve(palette()));
    BandedFill::fillRect(painter, rect(), gradient);
}

} // namespace kestrune
