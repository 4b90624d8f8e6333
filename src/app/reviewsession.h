#pragma once

#include "review/changereview.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

namespace kestrune {

class DetailArea;
class ProjectStore;

// The review of one change of the selected project: what the change does to the specifications,
// and from there, one capability's specification as it will read after the change. The
// comparison runs off the window's thread; a later one (another change, or the files changed)
// makes the earlier one's answer moot.
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

    // Reviews a change of the project at `root` (none: nothing to compare yet). The review on
    // show stays until the new comparison is there when it is of the same change.
    void open(const std::optional<QUrl> &root, const QUrl &changeFolder);
    // Compares the change again, its project's files having changed, unless its folder is gone.
    void compareAgain(const QUrl &root);
    // Shows a capability's resulting specification; an empty name goes back to the review.
    // False when no change is under review.
    bool showResult(const QString &capability);
    void leave();

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

private:
    void startComparison(const QUrl &root);
    // Makes the result page only for another capability or a new comparison.
    void showResultIn(DetailArea &area, const CapabilityReview &capability);

    const ProjectStore &m_store;
    std::optional<QUrl> m_changeFolder;
    std::optional<ChangeReview> m_review; // of m_changeFolder, once compared
    std::optional<QString> m_resultCapability;
    quint64 m_comparisonSerial = 0;
    quint64 m_shownResultSerial = 0; // the comparison the result page on show was made from
};

} // namespace kestrune
