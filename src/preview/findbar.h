#pragma once

#include "markdown/layout/document/findstatus.h"
#include "text/searchpattern.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kestrune {

// The slim bar at the top of a document that finds text in it: a field, where the current match
// stands among all ("3 of 17"), toggles for matching case, whole words and regular expressions,
// buttons for the previous and next match and one that closes the bar. An expression that does
// not compile says why in the status's place, in the error colour. Enter goes to the next match,
// Shift+Enter to the previous, Escape closes. The bar only asks; the document view finds.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent = nullptr);

    SearchPattern query() const;
    // Shows the bar with the query's text selected, and focuses the field.
    void open(const QString &text = QString());
    // Shows the bar with a query's text and options, selected and focused, without asking for
    // a find (queryChanged is not emitted): the caller starts the find it wants.
    void open(const SearchPattern &query);
    void setStatus(const FindStatus &status);
    QLineEdit *field() const { return m_field; }

Q_SIGNALS:
    void queryChanged(const SearchPattern &query);
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
    void applyStatusColor();

    QLineEdit *m_field;
    QLabel *m_status;
    QToolButton *m_matchCase;
    QToolButton *m_wholeWord;
    QToolButton *m_regularExpression;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_close;
    bool m_showsError = false; // the status is an expression's error
};

} // namespace kestrune
