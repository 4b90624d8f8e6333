#pragma once

#include "text/searchpattern.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kestrune {

// The search field at the top of the sidebar: the text to look for in the project's files and its
// toggles for letter case, whole words and regular expressions. Escape clears it; Down and Enter
// hand the keyboard to the results.
class ProjectSearchField : public QWidget
{
    Q_OBJECT

public:
    explicit ProjectSearchField(QWidget *parent = nullptr);

    SearchPattern pattern() const;
    void setPattern(const SearchPattern &pattern);
    QLineEdit *lineEdit() const { return m_field; }
    // Gives the field the keyboard with its text selected, ready to be typed over.
    void focusField();

Q_SIGNALS:
    void patternChanged();
    // Down or Enter in the field: the reader goes on to the results.
    void resultsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QLineEdit *m_field = nullptr;
    QToolButton *m_matchCase = nullptr;
    QToolButton *m_wholeWord = nullptr;
    QToolButton *m_expression = nullptr;
};

} // namespace kestrune
