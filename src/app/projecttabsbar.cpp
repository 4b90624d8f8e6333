#include "app/projecttabsbar.h"

#include "app/projecttabbutton.h"
#include "app/shellcolors.h"
#include "project/projectstore.h"
#include "ui/localization.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace kestrune {

namespace {

constexpr int outerPaddingH = 10;
constexpr int outerPaddingV = 8;
constexpr int stripPaddingH = 8;
constexpr int stripPaddingV = 4;
constexpr int tabSpacing = 8;

} // namespace

ProjectTabsBar::ProjectTabsBar(QWidget *parent)
    : QWidget(parent), m_scrollArea(new QScrollArea(this)), m_strip(new QWidget),
      m_stripLayout(new QHBoxLayout(m_strip))
{
    setObjectName(QStringLiteral("tabsBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_stripLayout->setContentsMargins(stripPaddingH, stripPaddingV, stripPaddingH, stripPaddingV);
    m_stripLayout->setSpacing(tabSpacing);
    m_stripLayout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_scrollArea->setWidget(m_strip);
    m_strip->setAutoFillBackground(false); // setWidget turns it on
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_scrollArea->setAutoFillBackground(false);
    m_scrollArea->viewport()->installEventFilter(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(outerPaddingH, outerPaddingV, outerPaddingH, outerPaddingV + 1);
    layout->addWidget(m_scrollArea);
}

void ProjectTabsBar::setProjectRoots(const QList<QUrl> &roots)
{
    if (roots == m_roots)
        return;
    m_roots = roots;
    // The old tabs may be in the middle of delivering a click or a menu action.
    for (ProjectTabButton *tab : std::as_const(m_tabs)) {
        m_stripLayout->removeWidget(tab);
        tab->hide();
        tab->deleteLater();
    }
    m_tabs.clear();
    for (const QUrl &root : roots) {
        auto *tab = new ProjectTabButton(root, ProjectStore::folderName(root), m_strip);
        tab->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(tab, &QAbstractButton::clicked, this, [this, root] { Q_EMIT tabClicked(root); });
        connect(tab, &QWidget::customContextMenuRequested, this,
                [this, tab](const QPoint &position) { showContextMenu(tab, position); });
        m_stripLayout->addWidget(tab);
        m_tabs.append(tab);
    }
    // The strip is as tall as a tab plus its padding, whatever the number of tabs.
    const int stripHeight =
        ProjectTabButton(QUrl(), QStringLiteral("M")).sizeHint().height() + 2 * stripPaddingV;
    m_scrollArea->setFixedHeight(stripHeight);
    updateSelection();
}

void ProjectTabsBar::setSelectedProjectRoot(const std::optional<QUrl> &root)
{
    m_selectedRoot = root;
    updateSelection();
}

ProjectTabButton *ProjectTabsBar::tab(const QUrl &root) const
{
    for (ProjectTabButton *tab : m_tabs) {
        if (tab->root() == root)
            return tab;
    }
    return nullptr;
}

void ProjectTabsBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellColors::tabsBarBackground.resolve(palette()));
    painter.fillRect(QRect(0, height() - 1, width(), 1), ShellColors::hairline.resolve(palette()));
}

bool ProjectTabsBar::eventFilter(QObject *watched, QEvent *event)
{
    // Without scroll bars, a vertical wheel scrolls the strip sideways.
    if (watched == m_scrollArea->viewport() && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const QPoint delta = wheel->pixelDelta().isNull() ? wheel->angleDelta() / 4 : wheel->pixelDelta();
        const int step = delta.x() != 0 ? delta.x() : delta.y();
        QScrollBar *bar = m_scrollArea->horizontalScrollBar();
        bar->setValue(bar->value() - step);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ProjectTabsBar::showContextMenu(ProjectTabButton *tab, const QPoint &position)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *remove = menu->addAction(Localization::text("common.remove_from_list"));
    connect(remove, &QAction::triggered, this,
            [this, root = tab->root()] { Q_EMIT removeProjectRequested(root); });
    menu->popup(tab->mapToGlobal(position));
}

void ProjectTabsBar::updateSelection()
{
    for (ProjectTabButton *tab : m_tabs) {
        const bool selected = m_selectedRoot && *m_selectedRoot == tab->root();
        tab->setSelected(selected);
        if (selected)
            m_scrollArea->ensureWidgetVisible(tab, 0, 0);
    }
}

} // namespace kestrune
