#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrune {

class SourceTextView;

// What the preview shows of a document too large to render at once: its source, under a
// notice that says why and offers to render it anyway.
class LargeFileSourceView : public QWidget
{
    Q_OBJECT

public:
    LargeFileSourceView(const QString &text, const QString &notice, QWidget *parent = nullptr);

    SourceTextView *source() const { return m_source; }
    QPushButton *renderButton() const { return m_render; }

Q_SIGNALS:
    void renderRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateColors();

    QLabel *m_notice;
    QPushButton *m_render;
    SourceTextView *m_source;
};

} // namespace kestrune
