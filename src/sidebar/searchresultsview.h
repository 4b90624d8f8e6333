#pragma once

#include <QWidget>

class QLabel;
class QModelIndex;
class QToolButton;

namespace kestrune {

class OutlineListView;
class SearchResultsModel;

// What the sidebar shows in place of the outline while a project search is active: a line saying
// how the search stands (or why the expression is invalid), the toggles for its scope, and the
// results, grouped by file. A click on a file row opens or closes it; a click on a hit, or Enter,
// chooses the hit.
class SearchResultsView : public QWidget
{
    Q_OBJECT

public:
    explicit SearchResultsView(SearchResultsModel &model, QWidget *parent = nullptr);

    OutlineListView *listView() const { return m_list; }
    bool searchesAllProjects() const;
    bool hidesArchived() const;

    // The line above the results; an error is drawn in the error colour.
    void setStatus(const QString &text, bool isError = false);
    QString statusText() const;
    bool isShowingError() const { return m_statusIsError; }
    // Gives the list the keyboard, its current row on the first hit when it has none.
    void focusResults();

Q_SIGNALS:
    void hitChosen(const QModelIndex &index);
    void scopeChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();
    void expandWithinBudget(const QModelIndex &parent, int first, int last);

    SearchResultsModel &m_model;
    QLabel *m_status = nullptr;
    QToolButton *m_allProjects = nullptr;
    QToolButton *m_hideArchived = nullptr;
    OutlineListView *m_list = nullptr;
    bool m_statusIsError = false;
    int m_expandedHitRows = 0;
};

} // namespace kestrune
