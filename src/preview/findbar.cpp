#include "preview/findbar.h"

#include "preview/previewcolors.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

namespace kestrune {

namespace {

constexpr int symbolSize = 16;

QToolButton *makeButton(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAutoRaise(true);
    button->setToolTip(text);
    button->setAccessibleName(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

FindBar::FindBar(QWidget *parent)
    : QWidget(parent), m_field(new QLineEdit(this)), m_status(new QLabel(this)),
      m_matchCase(makeButton(QStringLiteral("findMatchCase"), Localization::text("find.match_case"), this)),
      m_previous(makeButton(QStringLiteral("findPrevious"), Localization::text("find.previous"), this)),
      m_next(makeButton(QStringLiteral("findNext"), Localization::text("find.next"), this)),
      m_close(makeButton(QStringLiteral("findClose"), Localization::text("common.close"), this))
{
    setObjectName(QStringLiteral("findBar"));
    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setPlaceholderText(Localization::text("find.placeholder"));
    m_field->setAccessibleName(Localization::text("find.placeholder"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    m_matchCase->setText(QStringLiteral("Aa"));
    m_matchCase->setCheckable(true);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 5, 8, 5);
    layout->setSpacing(6);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_close);

    const auto emitQuery = [this] { Q_EMIT queryChanged(query()); };
    connect(m_field, &QLineEdit::textChanged, this, emitQuery);
    connect(m_matchCase, &QToolButton::toggled, this, emitQuery);
    connect(m_previous, &QToolButton::clicked, this, &FindBar::previousRequested);
    connect(m_next, &QToolButton::clicked, this, &FindBar::nextRequested);
    connect(m_close, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT closed();
    });
    setStatus({});
    applyColors();
}

FindQuery FindBar::query() const
{
    return {m_field->text(), m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive};
}

void FindBar::open(const QString &text)
{
    if (!text.isEmpty())
        m_field->setText(text);
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void FindBar::setStatus(const FindStatus &status)
{
    QString text;
    if (m_field->text().isEmpty())
        text.clear();
    else if (status.total == 0)
        text = status.complete ? Localization::text("find.no_matches") : QString();
    else
        text = Localization::text("find.status")
                   .arg(QLocale().toString(status.current), QLocale().toString(status.total));
    m_status->setText(text);
    m_previous->setEnabled(status.total > 0);
    m_next->setEnabled(status.total > 0);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                Q_EMIT previousRequested();
            else
                Q_EMIT nextRequested();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            Q_EMIT closed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PreviewColors::paneBackground.resolve(palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), PreviewColors::divider.resolve(palette()));
}

void FindBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void FindBar::applyColors()
{
    const QColor symbol = PreviewColors::secondaryText.resolve(palette());
    m_previous->setIcon(SymbolIcon::icon(u"chevron.up", symbol, symbolSize));
    m_next->setIcon(SymbolIcon::icon(u"chevron.down", symbol, symbolSize));
    m_close->setIcon(SymbolIcon::icon(u"xmark", symbol, symbolSize));
    QPalette statusPalette = m_status->palette();
    statusPalette.setColor(QPalette::WindowText, symbol);
    m_status->setPalette(statusPalette);
}

} // namespace kestrune
