#pragma once

#include "preview/previewversion.h"
#include "ui/dynamiccolor.h"
#include "ui/themecolors.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrune {

// The band across the top of the preview while an earlier version of the file is on show: which
// version it is ("Version of 2026-12-03, a1b2c3d: subject"), a toggle that shows the current text
// instead, marked where it differs from that version, and the way back to the current text.
class PreviewVersionBand : public QWidget
{
    Q_OBJECT

public:
    static constexpr DynamicColor tint = ThemeColors::accent.withOpacity(0.14f);
    static constexpr DynamicColor edge = ThemeColors::accent.withOpacity(0.6f);

    explicit PreviewVersionBand(QWidget *parent = nullptr);

    // `compared`: the current text is on show, marked against the version.
    void setVersion(const PreviewVersion &version, bool compared);

    QString text() const;
    QPushButton *compareButton() const { return m_compare; }
    QPushButton *backButton() const { return m_back; }

Q_SIGNALS:
    void compareToggled(bool compared);
    void backRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_text = nullptr;
    QPushButton *m_compare = nullptr;
    QPushButton *m_back = nullptr;
};

} // namespace kestrune
