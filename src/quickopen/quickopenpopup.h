#pragma once

#include "search/quickopenentry.h"
#include "search/quickopenranker.h"
#include "ui/filterpopup.h"

#include <QList>

class QLabel;

namespace kestrune {

class QuickOpenListModel;

// Quick open: a popup over the window with a search field and the entries that match what is
// typed, best first (QuickOpenRanker; a leading "#" looks for requirements). Up, Down, Page Up and
// Page Down move through the list, Enter or a click opens the chosen entry (entryChosen), Escape
// closes. New entries (the project changed on disk) are ranked again at once, the chosen row kept.
class QuickOpenPopup : public FilterPopup
{
    Q_OBJECT

public:
    // The most rows listed: the best matches of any larger project.
    static constexpr qsizetype rowLimit = 500;
    static constexpr int visibleRows = 12;

    explicit QuickOpenPopup(QWidget *parent = nullptr);
    ~QuickOpenPopup() override;

    // Ranks the entries for the text in the field again; the chosen entry stays chosen when it is
    // still listed.
    void setEntries(QList<QuickOpenEntry> entries);
    void setShowsProjectNames(bool show);
    // Shows the popup centred near the top of `window`, the field focused.
    void popUp(QWidget *window);

    QLineEdit *searchField() const { return filterField(); }
    QListView *list() const { return listView(); }
    QuickOpenListModel *model() const { return m_model; }
    // The entry of the current row, if any.
    const QuickOpenEntry *currentEntry() const;

Q_SIGNALS:
    void entryChosen(const QuickOpenEntry &entry);

protected:
    void chooseCurrent() override;

private:
    void refilter(const QString &keepKey);

    QuickOpenRanker m_ranker;
    QLabel *m_emptyLabel = nullptr;
    QuickOpenListModel *m_model = nullptr;
};

} // namespace kestrune
