#pragma once

#include "preview/reviewbaseline.h"
#include "review/changereview.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

class QFutureWatcherBase;

namespace kestrune {

class ChangeReviewView;
class DetailArea;
class ProjectStore;

// The review of one change of the selected project: what the change does to the specifications,
// and from there, one capability's specification as it will read after the change. The
// comparison runs off the window's thread; a later one (another change, or the files changed)
// makes the earlier one's answer moot.
//
// Where the project lies in a git work tree, the change can be reviewed against the
// specifications of an earlier commit instead (the baseline, chosen on the page; the latest choice
// wins), and a requirement's history opens in a popup (ReviewHistory reads both on the pool).
//
// The root view keeps the session, leaves it when the reader goes elsewhere and asks it to fill
// the detail area while a change is under review.
class ReviewSession : public QObject
{
    Q_OBJECT

public:
    explicit ReviewSession(const ProjectStore &store, QObject *parent = nullptr);
    ~ReviewSession() override;

    // The change under review; none while the detail area shows anything else.
    const std::optional<QUrl> &changeFolder() const { return m_changeFolder; }
    // The comparison of the change, once there.
    const std::optional<ChangeReview> &review() const { return m_review; }
    // The capability whose resulting specification is on show instead of the review.
    const std::optional<QString> &resultCapability() const { return m_resultCapability; }
    // The commits the change can be compared with, once read; none while unread or without a
    // history.
    const std::optional<QList<ReviewBaseline>> &baselines() const { return m_baselines; }
    // The commit the review on show compares with; none: the specifications on disk.
    const std::optional<ReviewBaseline> &reviewBaseline() const { return m_reviewBaseline; }

    // Reviews a change of the project at `root` (none: nothing to compare yet). The review on
    // show stays until the new comparison is there when it is of the same change.
    void open(const std::optional<QUrl> &root, const QUrl &changeFolder);
    // Compares the change again, its project's files having changed, unless its folder is gone.
    void compareAgain(const QUrl &root);
    // Shows a capability's resulting specification; an empty name goes back to the review.
    // False when no change is under review.
    bool showResult(const QString &capability);
    void leave();
    // Compares the change with the specifications of a commit (empty: those on disk).
    void compareWith(const QString &commit);

    // Shows the review, or the result, in the area: the comparison's progress until it is there.
    void showIn(DetailArea &area, const QUrl &root);

    // The change folder and capability a delta specification of the project at `root` belongs
    // to (changes/<change>/specs/<capability>/spec.md or changes/<change>/specs/<capability>.md
    // in the project's planning folder, archived changes too); nothing for any other file.
    static std::optional<std::pair<QUrl, QString>> deltaSpecificationOwner(const QUrl &root,
                                                                           const QUrl &file);

Q_SIGNALS:
    // A comparison arrived: the detail area is to be filled again.
    void compared();
    // From the pages on show: a capability's resulting specification, or (empty) the review.
    void resultRequested(const QString &capability);
    // An archived change chosen in a requirement's history: its review is to be shown.
    void reviewRequested(const QUrl &changeFolder);

private:
    void startComparison(const QUrl &root);
    // Makes the result page only for another capability or a new comparison.
    void showResultIn(DetailArea &area, const CapabilityReview &capability);
    void listBaselines(const QUrl &root);
    void connectView(ChangeReviewView &view);
    void showRequirementHistory(const QUrl &specification, const QString &requirement, QWidget *anchor);

    const ProjectStore &m_store;
    std::optional<QUrl> m_changeFolder;
    std::optional<ChangeReview> m_review; // of m_changeFolder, once compared
    std::optional<QString> m_resultCapability;
    quint64 m_comparisonSerial = 0;
    quint64 m_shownResultSerial = 0;                // the comparison the result page on show was made from
    std::optional<QUrl> m_root;                     // of the change under review
    QString m_baseline;                             // the commit asked for; empty: the specifications on disk
    std::optional<ReviewBaseline> m_reviewBaseline; // what m_review compared with
    std::optional<QList<ReviewBaseline>> m_baselines;
    quint64 m_baselineSerial = 0;
    QPointer<QFutureWatcherBase> m_comparison; // the one under way, cancelled when overtaken
    QPointer<QFutureWatcherBase> m_baselineListing;
    QPointer<ChangeReviewView> m_view; // the review page on show, connected
};

} // namespace kestrune
