#pragma once

#include "markdown/layout/findquery.h"
#include "markdown/layout/findstatus.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kestrune {

// The slim bar at the top of a document that finds text in it: a field, where the current match
// stands among all ("3 of 17"), a toggle for matching case, buttons for the previous and next
// match and one that closes the bar. Enter goes to the next match, Shift+Enter to the previous,
// Escape closes. The bar only asks; the document view finds.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent = nullptr);

    FindQuery query() const;
    // Shows the bar with the query's text selected, and focuses the field.
    void open(const QString &text = QString());
    void setStatus(const FindStatus &status);
    QLineEdit *field() const { return m_field; }

Q_SIGNALS:
    void queryChanged(const FindQuery &query);
    void nextRequested();
    void previousRequested();
    // The bar was closed: the matches should no longer be highlighted.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QLineEdit *m_field;
    QLabel *m_status;
    QToolButton *m_matchCase;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_close;
};

} // namespace kestrune
