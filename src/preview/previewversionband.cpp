#include "preview/previewversionband.h"

#include "ui/localization.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace kestrune {

PreviewVersionBand::PreviewVersionBand(QWidget *parent)
    : QWidget(parent), m_text(new QLabel(this)),
      m_compare(new QPushButton(Localization::text("history.version.compare"), this)),
      m_back(new QPushButton(Localization::text("history.version.back"), this))
{
    setObjectName(QStringLiteral("versionBand"));
    m_text->setObjectName(QStringLiteral("versionText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_compare->setObjectName(QStringLiteral("compareWithCurrent"));
    m_compare->setCheckable(true);
    m_compare->setToolTip(Localization::text("history.version.compare.help"));
    m_back->setObjectName(QStringLiteral("backToCurrent"));
    for (QPushButton *button : {m_compare, m_back})
        button->setFocusPolicy(Qt::TabFocus);
    connect(m_compare, &QPushButton::toggled, this, &PreviewVersionBand::compareToggled);
    connect(m_back, &QPushButton::clicked, this, &PreviewVersionBand::backRequested);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 8, 6);
    layout->setSpacing(8);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_compare, 0, Qt::AlignVCenter);
    layout->addWidget(m_back, 0, Qt::AlignVCenter);
}

void PreviewVersionBand::setVersion(const PreviewVersion &version, bool compared)
{
    const char *key = compared ? "history.version.compared" : "history.version.label";
    const QString text = Localization::text(key).arg(version.day, version.shortCommit(), version.subject);
    m_text->setText(text);
    setAccessibleName(text);
    const QSignalBlocker quiet(m_compare);
    m_compare->setChecked(compared);
}

QString PreviewVersionBand::text() const
{
    return m_text->text();
}

void PreviewVersionBand::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), tint.resolve(palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), edge.resolve(palette()));
}

} // namespace kestrune
