#pragma once

#include <QString>
#include <QWidget>

namespace kestrune {

// The muted line an empty section shows, at its leading edge. The archive section gives it more
// room above and below.
class EmptyStateText : public QWidget
{
    Q_OBJECT

public:
    enum class Spacing
    {
        standard,
        roomy
    };

    explicit EmptyStateText(const QString &text, Spacing spacing = Spacing::standard,
                            QWidget *parent = nullptr);

    QString text() const { return m_text; }
    Spacing spacing() const { return m_spacing; }
    // The rectangle of the text itself (without the padding), in the widget's coordinates.
    QRect textRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QMargins padding() const;

    QString m_text;
    Spacing m_spacing = Spacing::standard;
};

} // namespace kestrune
