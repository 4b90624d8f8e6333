#include "sidebar/projectsearchfield.h"

#include "sidebar/sidebarcolors.h"
#include "ui/localization.h"
#include "ui/textfieldshortcuts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace kestrune {

namespace {

QToolButton *makeToggle(const QString &objectName, const QString &label, const QString &description,
                        QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(label);
    button->setToolTip(description);
    button->setAccessibleName(description);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

ProjectSearchField::ProjectSearchField(QWidget *parent)
    : QWidget(parent), m_field(new QLineEdit(this)),
      m_matchCase(makeToggle(QStringLiteral("searchMatchCase"), QStringLiteral("Aa"),
                             Localization::text("find.match_case"), this)),
      m_wholeWord(makeToggle(QStringLiteral("searchWholeWord"), QStringLiteral("ab"),
                             Localization::text("find.whole_word"), this)),
      m_expression(makeToggle(QStringLiteral("searchExpression"), QStringLiteral(".*"),
                              Localization::text("find.regular_expression"), this))
{
    setObjectName(QStringLiteral("projectSearchField"));
    m_field->setObjectName(QStringLiteral("projectSearchLineEdit"));
    m_field->setPlaceholderText(Localization::text("search.placeholder"));
    m_field->setAccessibleName(Localization::text("search.placeholder"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    QFont underlined = m_wholeWord->font();
    underlined.setUnderline(true);
    m_wholeWord->setFont(underlined);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 6, 6);
    layout->setSpacing(2);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_wholeWord);
    layout->addWidget(m_expression);

    connect(m_field, &QLineEdit::textChanged, this, &ProjectSearchField::patternChanged);
    for (QToolButton *toggle : {m_matchCase, m_wholeWord, m_expression})
        connect(toggle, &QToolButton::toggled, this, &ProjectSearchField::patternChanged);
    applyColors();
}

SearchPattern ProjectSearchField::pattern() const
{
    return SearchPattern(m_field->text(),
                         {m_matchCase->isChecked(), m_wholeWord->isChecked(), m_expression->isChecked()});
}

void ProjectSearchField::setPattern(const SearchPattern &pattern)
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_field), QSignalBlocker(m_matchCase),
                                       QSignalBlocker(m_wholeWord), QSignalBlocker(m_expression)};
    m_field->setText(pattern.text());
    m_matchCase->setChecked(pattern.options().caseSensitive);
    m_wholeWord->setChecked(pattern.options().wholeWord);
    m_expression->setChecked(pattern.options().regularExpression);
    Q_EMIT patternChanged();
}

void ProjectSearchField::focusField()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

bool ProjectSearchField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && TextFieldShortcuts::filterShortcutOverride(event))
        return true;
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            if (m_field->text().isEmpty())
                return false;
            m_field->clear();
            return true;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_field->text().isEmpty())
                return false;
            Q_EMIT resultsRequested();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProjectSearchField::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void ProjectSearchField::applyColors()
{
    QPalette togglePalette = palette();
    togglePalette.setColor(QPalette::ButtonText, SidebarColors::secondaryText.resolve(palette()));
    for (QToolButton *toggle : {m_matchCase, m_wholeWord, m_expression})
        toggle->setPalette(togglePalette);
}

} // namespace kestrune
