#pragma once

#include <QAbstractButton>
#include <QTimer>
#include <QUrl>
#include <QVariantAnimation>

namespace kestrune {

// One project tab: the folder's name on a capsule, filled and outlined in the accent colours
// while selected. While the project is being scanned again a small dot pulses at its end (only
// once the scan has taken a moment, so that quick rescans do not flicker); a project whose folder
// is gone has its name struck through. Neither changes the tab's size.
class ProjectTabButton : public QAbstractButton
{
    Q_OBJECT

public:
    ProjectTabButton(const QUrl &root, const QString &name, QWidget *parent = nullptr);

    QUrl root() const { return m_root; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool isBusy() const { return m_busy; }
    void setBusy(bool busy);
    // Whether the busy mark is drawn now.
    bool isShowingBusyMark() const { return m_busyAnimation.state() == QAbstractAnimation::Running; }
    bool isMissing() const { return m_missing; }
    void setMissing(bool missing);

    // How long a scan runs before its mark shows.
    static constexpr int busyMarkDelay = 250; // milliseconds

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateDescription();

    QUrl m_root;
    bool m_selected = false;
    bool m_busy = false;
    bool m_missing = false;
    QTimer m_busyDelay;
    QVariantAnimation m_busyAnimation;
};

} // namespace kestrune
