#pragma once

#include <QString>
#include <QWidget>

namespace kestrune {

// A message in the standard red at the top-leading corner of all the room it is given, with the
// default padding on every side; it wraps when the room is narrow.
class ErrorTextView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int padding = 16;

    explicit ErrorTextView(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace kestrune
