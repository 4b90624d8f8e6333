#include "app/keyboardshortcutsdialog.h"

#include "app/mainwindowactions.h"
#include "ui/localization.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr QSize initialSize{520, 560};

bool spellsBacktab(const QKeySequence &key)
{
    for (int i = 0; i < key.count(); ++i) {
        if (key[i].key() == Qt::Key_Backtab)
            return true;
    }
    return false;
}

// A command's text as a line of the list: no mnemonic marks.
QString plainText(const QAction *action)
{
    QString text = action->text();
    text.remove(QLatin1Char('&'));
    return text;
}

} // namespace

KeyboardShortcutsDialog::KeyboardShortcutsDialog(const MainWindowActions &actions, QWidget *parent)
    : QDialog(parent), m_actions(actions), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("keyboardShortcuts"));
    setWindowTitle(Localization::text("action.keyboard_shortcuts"));
    setModal(false);
    resize(initialSize);

    m_list->setObjectName(QStringLiteral("keyboardShortcutsList"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels(
        {Localization::text("shortcuts.column.command"), Localization::text("shortcuts.column.keys")});
    m_list->setAccessibleName(Localization::text("action.keyboard_shortcuts"));
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(Localization::text("common.done"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    connect(&m_actions, &MainWindowActions::listChanged, this, &KeyboardShortcutsDialog::rebuild);
    rebuild();
}

QString KeyboardShortcutsDialog::keysText(const QList<QKeySequence> &keys)
{
    QStringList texts;
    for (const QKeySequence &key : keys) {
        if (key.isEmpty() || spellsBacktab(key))
            continue;
        const QString text = key.toString(QKeySequence::NativeText);
        if (!texts.contains(text))
            texts.append(text);
    }
    return texts.join(QStringLiteral(", "));
}

void KeyboardShortcutsDialog::showEvent(QShowEvent *event)
{
    // Keys may have been given to an action since the list was built.
    rebuild();
    QDialog::showEvent(event);
}

void KeyboardShortcutsDialog::rebuild()
{
    m_list->clear();
    for (const MainWindowActions::Group group : MainWindowActions::allGroups) {
        QList<QPair<QString, QString>> rows;
        for (const MainWindowActions::Entry &entry : m_actions.entries()) {
            if (entry.group != group || entry.listing == MainWindowActions::Listing::keysOnly)
                continue;
            const QString keys = keysText(entry.action->shortcuts());
            if (!keys.isEmpty())
                rows.append({plainText(entry.action), keys});
        }
        for (const MainWindowActions::KeyHint &hint : m_actions.keyHints()) {
            if (hint.group == group)
                rows.append({hint.description, hint.keys});
        }
        if (rows.isEmpty())
            continue;
        auto *heading = new QTreeWidgetItem(m_list, {MainWindowActions::groupTitle(group)});
        heading->setFirstColumnSpanned(true);
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = m_list->font();
        bold.setBold(true);
        heading->setFont(0, bold);
        for (const auto &[description, keys] : std::as_const(rows)) {
            auto *row = new QTreeWidgetItem(heading, {description, keys});
            row->setFlags(Qt::ItemIsEnabled);
            // Said as one line: "Refresh, F5, Ctrl+R".
            row->setData(0, Qt::AccessibleTextRole, description);
            row->setData(1, Qt::AccessibleTextRole, keys);
        }
    }
    m_list->expandAll();
}

} // namespace kestrune
