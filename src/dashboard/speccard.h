#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QMenu;

namespace kestrune {

class ElisionToolTip;
class SpecMenuButton;

// One specification of the project: its name, its requirement count and a menu whose one item
// shows the specification's folder in the file manager. Only the menu reacts to clicks.
class SpecCard : public QWidget
{
    Q_OBJECT

public:
    SpecCard(const QString &name, qint64 requirementCount, QWidget *parent = nullptr);

    QString name() const { return m_name; }
    QString requirementText() const { return m_requirements; }
    // The name as drawn at the current width (elided at its end when too long).
    QString shownName() const;
    // Its requirements changed since the reader last looked: a dot on the icon and the count in
    // the accent colour.
    void setRequirementsChanged(bool changed);
    bool requirementsChanged() const { return m_requirementsChanged; }
    SpecMenuButton *menuButton() const { return m_menuButton; }
    // The menu's one item; the menu is made the first time it is needed.
    QAction *revealAction();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Every card's height, and the least width of a card with this many requirements, known
    // before one is made.
    static int cardHeight();
    static int minimumWidth(qint64 requirementCount);

Q_SIGNALS:
    void revealRequested(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QMenu *menu();
    int nameRoom() const;
    int trailingWidth() const { return trailingWidth(m_requirements); }
    static QString requirementTextFor(qint64 requirementCount);
    static int trailingWidth(const QString &text);
    static int minimumWidth(const QString &text);

    QString m_name;
    QString m_requirements;
    SpecMenuButton *m_menuButton = nullptr;
    QMenu *m_menu = nullptr;
    ElisionToolTip *m_nameToolTip = nullptr;
    bool m_requirementsChanged = false;
};

} // namespace kestrune
