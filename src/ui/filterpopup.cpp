#include "ui/filterpopup.h"

#include "ui/filterfieldkeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace kestrune {

FilterPopup::FilterPopup(QListView *list, int spacing, QWidget *parent)
    : QFrame(parent, Qt::Popup), m_field(new QLineEdit(this)), m_list(list), m_layout(new QVBoxLayout(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_list->setParent(this);
    m_list->setUniformItemSizes(true);
    m_list->setFocusPolicy(Qt::NoFocus); // the keys go to the field, which passes them on

    m_layout->setContentsMargins(spacing, spacing, spacing, spacing);
    m_layout->setSpacing(spacing);
    m_layout->addWidget(m_field);
    m_layout->addWidget(m_list, 1);

    connect(m_list, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        makeCurrent(index);
        chooseCurrent();
    });
}

void FilterPopup::makeCurrent(const QModelIndex &index)
{
    m_list->setCurrentIndex(index);
}

bool FilterPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        FilterFieldKeys::handle(
            static_cast<QKeyEvent *>(event), m_list, [this] { chooseCurrent(); }, [this] { close(); }))
        return true;
    return QFrame::eventFilter(watched, event);
}

void FilterPopup::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace kestrune
