#pragma once

#include <QAbstractButton>

namespace kestrune {

// The button at the top of the sidebar that brings back the project's dashboard. It looks active
// (strong text on a subtle fill) whenever the dashboard is on show.
class DashboardButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit DashboardButton(QWidget *parent = nullptr);

    bool isActive() const { return m_active; }
    void setActive(bool active);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_active = true;
};

} // namespace kestrune
