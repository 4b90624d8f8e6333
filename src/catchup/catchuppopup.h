#pragma once

#include "reading/catchupentry.h"
#include "reading/catchuplinecount.h"
#include "ui/filterpopup.h"

class QLabel;
class QPushButton;

namespace kestrune {

class CatchUpListModel;

// "What's New": a popup over the window listing the files of a project changed, new or removed
// since the reader last looked, grouped by change and specification, each with its lines added
// and removed and the time it changed. Typing narrows the list by name; Up, Down, Page Up and
// Page Down move through the files (the group headings are passed over), Enter or a click opens
// the chosen one (entryChosen; a removed file cannot be opened), Escape closes. "Mark All as
// Read" asks for every file to count as read (markAllAsReadRequested): the list then empties
// as the project's marks follow. Nothing listed says "Nothing new since you last looked".
class CatchUpPopup : public FilterPopup
{
    Q_OBJECT

public:
    static constexpr int visibleRows = 12;

    explicit CatchUpPopup(QWidget *parent = nullptr);
    ~CatchUpPopup() override;

    // The project's name, in the popup's title.
    void setProjectName(const QString &name);
    // The files to list; the file chosen stays chosen while it is listed.
    void setGroups(QList<CatchUpGroup> groups);
    void setLineCount(const QString &relativePath, const CatchUpLineCount &count);
    // Shows the popup centred near the top of `window`, the field focused.
    void popUp(QWidget *window);

    CatchUpListModel *model() const { return m_model; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *emptyLabel() const { return m_emptyLabel; }
    QPushButton *markAllButton() const { return m_markAll; }
    // The file of the current row, if any.
    const CatchUpEntry *currentEntry() const;

Q_SIGNALS:
    void entryChosen(const kestrune::CatchUpEntry &entry);
    void markAllAsReadRequested();

protected:
    void makeCurrent(const QModelIndex &index) override;
    void chooseCurrent() override;

private:
    void refilter(const QString &keepPath);
    void fitHeight();

    QLabel *m_title = nullptr;
    QLabel *m_emptyLabel = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_markAll = nullptr;
    CatchUpListModel *m_model = nullptr;
    bool m_headingClicked = false;
    int m_heightLimit = 600; // the window's room below the popup's top
};

} // namespace kestrune
