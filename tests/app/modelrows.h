#pragma once

#include <QAbstractItemModel>
#include <QString>

namespace kestrune {

// The first row, depth first, whose display text is `name`; invalid when there is none.
QModelIndex findRow(const QAbstractItemModel *model, const QString &name, const QModelIndex &parent = {});

} // namespace kestrune
