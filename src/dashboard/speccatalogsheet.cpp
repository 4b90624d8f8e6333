#include "dashboard/speccatalogsheet.h"

#include "ui/localization.h"
#include "ui/standardcolors.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int sheetMinimumWidth = 420;
constexpr int sheetMinimumHeight = 320;
constexpr int stackSpacing = 12;
constexpr int titlePixelSize = 17;
constexpr int countPixelSize = 12;

enum Column
{
    nameColumn,
    countColumn
};

} // namespace

SpecCatalogSheet::SpecCatalogSheet(const ProjectSummary &summary, QWidget *parent)
    : QDialog(parent), m_doneButton(new QPushButton(Localization::text("common.done"), this)),
      m_list(new QTreeWidget(this)),
      m_emptyText(new QLabel(Localization::text("dashboard.spec_catalog.empty"), this))
{
    setObjectName(QStringLiteral("specCatalogSheet"));
    setWindowTitle(Localization::text("dashboard.spec_catalog.title"));
    setWindowModality(Qt::WindowModal);
    setMinimumSize(sheetMinimumWidth, sheetMinimumHeight);
    resize(sheetMinimumWidth + 60, sheetMinimumHeight + 160);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(stackSpacing);

    auto *header = new QHBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    header->setContentsMargins(margin, margin, margin, margin);
    auto *title = new QLabel(Localization::text("dashboard.spec_catalog.title"), this);
    title->setFont(SystemFont::font(titlePixelSize, QFont::DemiBold));
    header->addWidget(title);
    header->addStretch(1);
    m_doneButton->setDefault(true);
    header->addWidget(m_doneButton);
    layout->addLayout(header);

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator);

    m_list->setColumnCount(2);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformRowHeights(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(countColumn, QHeaderView::ResizeToContents);
    m_emptyText->setAlignment(Qt::AlignCenter);

    auto *bodyWidget = new QWidget(this);
    m_body = new QStackedLayout(bodyWidget);
    m_body->addWidget(m_list);
    m_body->addWidget(m_emptyText);
    layout->addWidget(bodyWidget, 1);

    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);
    fill(summary);
}

void SpecCatalogSheet::setSummary(const ProjectSummary &summary)
{
    fill(summary);
}

void SpecCatalogSheet::fill(const ProjectSummary &summary)
{
    m_list->clear();
    const QIcon icon = SymbolIcon::icon(u"doc.text", StandardColors::primaryText.resolve(palette()));
    QList<QTreeWidgetItem *> rows;
    rows.reserve(summary.specNames.size());
    const QFont countFont = SystemFont::font(countPixelSize, QFont::Medium);
    for (const QString &name : summary.specNames) {
        auto *row = new QTreeWidgetItem;
        row->setIcon(nameColumn, icon);
        row->setText(nameColumn, name);
        row->setText(countColumn, Localization::format("dashboard.summary.reqs_format",
                                                       summary.specRequirementCounts.value(name, 0)));
        row->setFont(countColumn, countFont);
        row->setTextAlignment(countColumn, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
    applySecondaryColor();
    m_body->setCurrentWidget(summary.specNames.isEmpty() ? static_cast<QWidget *>(m_emptyText) : m_list);
}

void SpecCatalogSheet::applySecondaryColor()
{
    const QColor secondary = StandardColors::secondaryText.resolve(palette());
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setForeground(countColumn, secondary);
    QPalette emptyPalette = m_emptyText->palette();
    emptyPalette.setColor(QPalette::WindowText, secondary);
    m_emptyText->setPalette(emptyPalette);
}

void SpecCatalogSheet::changeEvent(QEvent *event)
{
    // Standard colours follow the appearance; the few set by hand are set again.
    if (event->type() == QEvent::PaletteChange) {
        const QIcon icon = SymbolIcon::icon(u"doc.text", StandardColors::primaryText.resolve(palette()));
        for (int i = 0; i < m_list->topLevelItemCount(); ++i)
            m_list->topLevelItem(i)->setIcon(nameColumn, icon);
        applySecondaryColor();
    }
    QDialog::changeEvent(event);
}

} // namespace kestrune
