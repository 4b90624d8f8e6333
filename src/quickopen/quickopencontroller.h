#pragma once

#include "project/treenode.h"
#include "search/quickopenentry.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

namespace kestrune {

class ProjectStore;
class QuickOpenPopup;
class RequirementIndex;

// Quick open for the window: keeps the entries of every open project (its outline's files,
// changes and specifications, and the requirements of a RequirementIndex that follows the
// store), shows the popup, and tells with entryChosen where the reader chose to go.
// While the popup is open, every new outline or index of a project updates its list.
class QuickOpenController : public QObject
{
    Q_OBJECT

public:
    explicit QuickOpenController(ProjectStore &store, QObject *parent = nullptr);
    ~QuickOpenController() override;

    // Shows the popup over `window` (or raises the one open).
    void show(QWidget *window);
    // The popup while it is open.
    QuickOpenPopup *popup() const;
    RequirementIndex &requirementIndex() const { return *m_index; }

    // Every entry of the open projects, in tab order.
    QList<QuickOpenEntry> entries();

Q_SIGNALS:
    // The reader chose `entry` in the popup.
    void entryChosen(const QuickOpenEntry &entry);

private:
    // The outline's entries of a project, made once per published tree.
    struct OutlineEntries
    {
        std::shared_ptr<const TreeNode> tree;
        QList<QuickOpenEntry> entries;
    };

    void prepareOutlineEntries(const QUrl &root);
    void updatePopup();

    ProjectStore &m_store;
    RequirementIndex *m_index = nullptr;
    QHash<QUrl, OutlineEntries> m_outlineEntries;
    QPointer<QuickOpenPopup> m_popup;
};

} // namespace kestrune
