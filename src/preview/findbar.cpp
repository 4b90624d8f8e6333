#include "preview/findbar.h"

#include "preview/previewcolors.h"
#include "ui/invalidexpressiontext.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/textfieldshortcuts.h"

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
      m_wholeWord(makeButton(QStringLiteral("findWholeWord"), Localization::text("find.whole_word"), this)),
      m_regularExpression(makeButton(QStringLiteral("findRegularExpression"),
                                     Localization::text("find.regular_expression"), this)),
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
    // A word underlined, as far as it goes; the dot and star of an expression.
    m_wholeWord->setText(QStringLiteral("ab"));
    QFont underlined = m_wholeWord->font();
    underlined.setUnderline(true);
    m_wholeWord->setFont(underlined);
    m_wholeWord->setCheckable(true);
    m_regularExpression->setText(QStringLiteral(".*"));
    m_regularExpression->setCheckable(true);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 5, 8, 5);
    layout->setSpacing(6);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_wholeWord);
    layout->addWidget(m_regularExpression);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_close);

    const auto emitQuery = [this] { Q_EMIT queryChanged(query()); };
    connect(m_field, &QLineEdit::textChanged, this, emitQuery);
    connect(m_matchCase, &QToolButton::toggled, this, emitQuery);
    connect(m_wholeWord, &QToolButton::toggled, this, emitQuery);
    connect(m_regularExpression, &QToolButton::toggled, this, emitQuery);
    connect(m_previous, &QToolButton::clicked, this, &FindBar::previousRequested);
    connect(m_next, &QToolButton::clicked, this, &FindBar::nextRequested);
    connect(m_close, &QToolButton::clicked, this, [this] {
        hide();
        Q_EMIT closed();
    });
    setStatus({});
    applyColors();
}

SearchPattern FindBar::query() const
{
    SearchOptions options;
    options.caseSensitive = m_matchCase->isChecked();
    options.wholeWord = m_wholeWord->isChecked();
    options.regularExpression = m_regularExpression->isChecked();
    return SearchPattern(m_field->text(), options);
}

void FindBar::open(const SearchPattern &query)
{
    {
        const QSignalBlocker field(m_field);
        const QSignalBlocker matchCase(m_matchCase);
        const QSignalBlocker wholeWord(m_wholeWord);
        const QSignalBlocker expression(m_regularExpression);
        m_field->setText(query.text());
        m_matchCase->setChecked(query.options().caseSensitive);
        m_wholeWord->setChecked(query.options().wholeWord);
        m_regularExpression->setChecked(query.options().regularExpression);
    }
    open();
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
    const SearchPattern pattern = query();
    if (m_showsError != !pattern.isValid()) {
        m_showsError = !pattern.isValid();
        applyStatusColor();
    }
    QString text;
    if (m_field->text().isEmpty())
        text.clear();
    else if (!pattern.isValid())
        text = InvalidExpressionText::of(pattern);
    else if (status.total == 0)
        text = status.complete ? Localization::text("find.no_matches") : QString();
    else
        text = Localization::text("find.status")
                   .arg(QLocale().toString(status.current), QLocale().toString(status.total));
    m_status->setText(text);
    m_status->setToolTip(pattern.isValid() ? QString() : text);
    m_previous->setEnabled(status.total > 0);
    m_next->setEnabled(status.total > 0);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        // Escape closes the bar, and only that: the window's own Escape (leaving the file) must
        // not see the key as well.
        event->accept();
        return true;
    }
    if (watched == m_field && TextFieldShortcuts::filterShortcutOverride(event))
        return true;
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
    applyStatusColor();
}

void FindBar::applyStatusColor()
{
    QPalette statusPalette = m_status->palette();
    statusPalette.setColor(QPalette::WindowText, m_showsError
                                                     ? PreviewColors::errorText.resolve(palette())
                                                     : PreviewColors::secondaryText.resolve(palette()));
    m_status->setPalette(statusPalette);
}

} // namespace kestrune
