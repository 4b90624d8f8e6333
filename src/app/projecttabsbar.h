#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

#include <optional>

class QHBoxLayout;
class QScrollArea;

namespace kestrune {

class ProjectTabButton;

// The imported projects as a row of capsule tabs in a strip that scrolls sideways without
// scroll bars. A tab click selects its project; a tab's context menu removes it.
class ProjectTabsBar : public QWidget
{
    Q_OBJECT

public:
    explicit ProjectTabsBar(QWidget *parent = nullptr);

    // One tab per folder, in list order.
    void setProjectRoots(const QList<QUrl> &roots);
    void setSelectedProjectRoot(const std::optional<QUrl> &root);

    QList<ProjectTabButton *> tabs() const { return m_tabs; }
    ProjectTabButton *tab(const QUrl &root) const;

Q_SIGNALS:
    void tabClicked(const QUrl &root);
    void removeProjectRequested(const QUrl &root);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showContextMenu(ProjectTabButton *tab, const QPoint &position);
    void updateSelection();

    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_strip = nullptr;
    QHBoxLayout *m_stripLayout = nullptr;
    QList<ProjectTabButton *> m_tabs;
    QList<QUrl> m_roots;
    std::optional<QUrl> m_selectedRoot;
};

} // namespace kestrune
