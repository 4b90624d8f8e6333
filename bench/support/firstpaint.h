#pragma once

#include <QEventLoop>
#include <QObject>

// An event filter that notes when the widget it watches has handled its first paint, and then
// quits `loop` once the paint is done and the loop is back.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QEventLoop &loop) : m_loop(loop) {}
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QEventLoop &m_loop;
};
