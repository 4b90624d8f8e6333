#include "modelrows.h"

namespace kestrune {

QModelIndex findRow(const QAbstractItemModel *model, const QString &name, const QModelIndex &parent)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == name)
            return index;
        if (const QModelIndex found = findRow(model, name, index); found.isValid())
            return found;
    }
    return {};
}

} // namespace kestrune
