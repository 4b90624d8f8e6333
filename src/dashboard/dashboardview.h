#pragma once

#include "dashboard/cardbuildqueue.h"
#include "dashboard/dashboardinput.h"
#include "dashboard/speccatalogsheet.h"
#include "project/changestatus.h"
#include "reading/cardreadingfacts.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QAbstractButton;
class QMenu;
class QScrollArea;
class QVBoxLayout;

namespace kestrune {

class AdaptiveGridLayout;
class ChangeSectionView;
class ElidedLabel;
class FolderActions;

class SummaryCardView;

// The overview of one project, drawn from its summary alone: four summary cards, the draft,
// active, completed and archived changes in collapsible sections, and the specifications with a
// catalogue dialog; one column that scrolls over a fixed gradient.
//
// Which sections are expanded and whether the catalogue is open belong to the view on screen:
// setInput (a new summary, another project) keeps them, a new DashboardView starts with every
// section expanded and the catalogue closed.
//
// The grids of the change and specification cards get their final size at once. Their cards are
// made right away when there are few (smallPageCardCount); more are made a slice per turn of the
// event loop (CardBuildQueue), the ones on screen first, so that thousands of changes hold up no
// frame. isBuildingCards() says whether some are still to come.
class DashboardView : public QWidget
{
    Q_OBJECT

public:
    enum class Section
    {
        draft,
        active,
        completed,
        archive
    };
    static constexpr std::array<Section, 4> allSections = {Section::draft, Section::active,
                                                           Section::completed, Section::archive};

    // Up to this many cards still to be made are made at once.
    static constexpr int smallPageCardCount = 64;

    explicit DashboardView(const DashboardInput &input, QWidget *parent = nullptr);
    // With the given desktop services in place of the real ones.
    DashboardView(const DashboardInput &input, std::unique_ptr<FolderActions> actions,
                  QWidget *parent = nullptr);
    ~DashboardView() override;

    const DashboardInput &input() const { return m_input; }
    void setInput(const DashboardInput &input);

    // What moved since the reader last looked, for the cards that tell it; nothing hides it.
    void setReadingFacts(const std::optional<CardReadingFacts> &facts);
    // The facts of a change's card, and whether a specification's requirements changed.
    std::optional<ChangeReadingFacts> readingFactsOf(const ChangeSummary &change) const;
    bool requirementsChangedOf(const QString &specName) const;

    // The changes of one status, in the summary's order.
    // Whether the cards of `shown` show the same as those of `changes` would.
    static bool sameAsShown(const QList<ChangeSummary> &shown, const QList<ChangeSummary> &changes);
    static QList<ChangeSummary> changesWithStatus(const ProjectSummary &summary, ChangeStatus status);
    static ChangeStatus statusOf(Section section);

    // Whether some card of a grid on the page is still to be made.
    bool isBuildingCards() const { return m_cardQueue.isBuilding(); }

    bool isExpanded(Section section) const { return m_expanded[size_t(section)]; }
    void setExpanded(Section section, bool expanded);

    bool showSpecCatalog() const { return m_showSpecCatalog; }
    void setShowSpecCatalog(bool show);

    // Opens a change's folder in the file manager.
    void openChangeFolder(const ChangeSummary &change);
    // Whether the change cards' menus offer the change's history (the project is in git); off by
    // default, so a project without history has no such entry.
    void setShowsHistory(bool shows);
    bool showsHistory() const { return m_showsHistory; }
    // The context menu of a change's card: "Review Change" (draft, active and completed changes),
    // then "Show History" while the project has one (archived changes too).
    QMenu *changeMenu(const ChangeSummary &change);
    // Shows a specification's folder selected in the file manager; nothing without a project root.
    void revealSpecFolder(const QString &name);
    // The item the file manager is asked to select for a specification: its folder, or its
    // Markdown file when the specification is a single file. Empty for a name that is not a
    // plain folder name.
    static QString specRevealPath(const QString &projectRootPath, const QString &name);

    ChangeSectionView *section(Section section) const { return m_sections[size_t(section)]; }
    const std::array<SummaryCardView *, 4> &summaryCards() const { return m_summaryCards; }
    ElidedLabel *specificationsTitle() const { return m_specTitle; }
    QWidget *specificationsBody() const { return m_specBody; }
    QAbstractButton *viewCatalogButton() const { return m_viewCatalogButton; }
    SpecCatalogSheet *specCatalogSheet() const { return m_sheet; }
    QScrollArea *scrollArea() const { return m_scrollArea; }
    // The scrolled column that holds every block.
    QWidget *contentWidget() const { return m_content; }

Q_SIGNALS:
    void specCatalogShownChanged(bool shown);
    // The last card still to be made was made.
    void cardsBuilt();
    // The reader asked what a change does to the specifications.
    void reviewRequested(const QUrl &changeFolder);
    // The reader asked for the commits that touched a change.
    void historyRequested(const QUrl &changeFolder);
    // The reader asked to read a Markdown file of the project: the proposal of a draft or
    // archived change.
    void fileRequested(const QUrl &file);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Gives the cards made for `shown` the changes' new analyses, when they are the same changes
    // in the same order; false, changing nothing, otherwise.
    bool updateCardsInPlace(Section section, const QList<ChangeSummary> &shown,
                            const QList<ChangeSummary> &changes);
    void buildPage();
    QLayout *buildSummaryBlock();
    QLayout *buildSpecificationsBlock();
    void refresh();
    QWidget *buildSectionContent(Section section, QWidget *parent);
    QWidget *buildSpecificationsBody(QWidget *parent);
    QWidget *createRow(Section section, const ChangeSummary &change, QWidget *parent);
    QWidget *createCard(Section section, const ChangeSummary &change, QWidget *parent);
    // The change's proposal, read in the program; the folder, on the desktop, before it has one.
    void openProposal(const ChangeSummary &change);
    static int cardMinimumWidth(Section section);

    DashboardInput m_input;
    std::unique_ptr<FolderActions> m_actions;
    std::array<bool, 4> m_expanded = {true, true, true, true};
    bool m_showSpecCatalog = false;
    bool m_showsHistory = false;

    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_content = nullptr;
    std::array<SummaryCardView *, 4> m_summaryCards = {};
    std::array<ChangeSectionView *, 4> m_sections = {};
    ElidedLabel *m_specTitle = nullptr;
    QAbstractButton *m_viewCatalogButton = nullptr;
    QVBoxLayout *m_specBlock = nullptr;
    QWidget *m_specBody = nullptr;
    // What the sections and the specification cards were last built from.
    std::array<std::optional<QList<ChangeSummary>>, 4> m_shownChanges;
    // What each section's grid was made from, kept up to date with its cards: the cards still
    // to be made are made from it.
    std::array<QList<ChangeSummary>, 4> m_gridChanges;
    QStringList m_shownSpecNames;
    QMap<QString, qint64> m_shownSpecRequirementCounts;
    QPointer<SpecCatalogSheet> m_sheet;
    CardBuildQueue m_cardQueue;
    std::optional<CardReadingFacts> m_readingFacts;
};

} // namespace kestrune
