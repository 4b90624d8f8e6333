#pragma once

#include "preview/requirementhistoryitem.h"
#include "ui/filterpopup.h"

#include <QList>
#include <QString>

class QLabel;
class QListWidget;

namespace kestrune {

// The history of one requirement of a specification as a popup list, newest first: each commit
// that added, changed or removed it, with its date, short id, subject and the archived change it
// brought in. The lines come as the history is read (addItems), then finish says how the read
// ended. Typing narrows the list; Enter or a click on a line naming an archived change that is
// still on disk opens that change's review; Escape closes.
class RequirementHistoryPopup : public FilterPopup
{
    Q_OBJECT

public:
    explicit RequirementHistoryPopup(const QString &requirement, QWidget *parent = nullptr);

    void addItems(const QList<RequirementHistoryItem> &items);
    // The read ended; `message` says what went wrong (a partial history, no history), if anything.
    void finish(const QString &message = QString());
    bool isFinished() const { return m_finished; }

    const QList<RequirementHistoryItem> &items() const { return m_items; }
    QListWidget *list() const { return m_list; }
    QLabel *statusLabel() const { return m_status; }
    // The text of a line: "2026-03-02 · 1a2b3c4 · changed · Archive tagging · archived change
    // 2026-03-02-add-tagging".
    static QString lineText(const RequirementHistoryItem &item);

    // Shows the popup with its top left corner there, the filter field focused.
    void popUp(const QPoint &globalPosition);

Q_SIGNALS:
    void changeChosen(const QUrl &changeFolder);

protected:
    void makeCurrent(const QModelIndex &index) override;
    void chooseCurrent() override;

private:
    RequirementHistoryPopup(QListWidget *list, const QString &requirement, QWidget *parent);

    void applyFilter(const QString &text);
    void updateStatus();

    QListWidget *m_list;
    QLabel *m_title = nullptr;
    QLabel *m_status = nullptr;
    QList<RequirementHistoryItem> m_items;
    QString m_message;
    bool m_finished = false;
};

} // namespace kestrune
