#pragma once

#include "app/detailviewfactory.h"

#include <QWidget>

// Stands in for the project dashboard: the project's name and its main counts.
class InterimDashboardView : public QWidget
{
    Q_OBJECT

public:
    explicit InterimDashboardView(const DashboardInput &input, QWidget *parent = nullptr);

    void setInput(const DashboardInput &input);
    const DashboardInput &input() const { return m_input; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DashboardInput m_input;
};
