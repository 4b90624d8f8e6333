#pragma once

#include <QAbstractButton>
#include <QUrl>

namespace kestrune {

// One project tab: the folder's name on a capsule, filled and outlined in the accent colours
// while selected.
class ProjectTabButton : public QAbstractButton
{
    Q_OBJECT

public:
    ProjectTabButton(const QUrl &root, const QString &name, QWidget *parent = nullptr);

    QUrl root() const { return m_root; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QUrl m_root;
    bool m_selected = false;
};

} // namespace kestrune
