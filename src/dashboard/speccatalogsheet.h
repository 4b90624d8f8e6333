#pragma once

#include "project/projectsummary.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QStackedLayout;
class QTreeWidget;

namespace kestrune {

// Every specification of the project with its requirement count, in a window-modal dialog in
// the platform's standard look. "Done", Escape or closing the window dismiss it.
class SpecCatalogSheet : public QDialog
{
    Q_OBJECT

public:
    explicit SpecCatalogSheet(const ProjectSummary &summary, QWidget *parent = nullptr);

    void setSummary(const ProjectSummary &summary);

    QPushButton *doneButton() const { return m_doneButton; }
    // The list of specifications; hidden when there are none.
    QTreeWidget *list() const { return m_list; }
    // The text shown instead of the list when there are no specifications.
    QLabel *emptyText() const { return m_emptyText; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void fill(const ProjectSummary &summary);
    void applySecondaryColor();

    QPushButton *m_doneButton = nullptr;
    QStackedLayout *m_body = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_emptyText = nullptr;
};

} // namespace kestrune
