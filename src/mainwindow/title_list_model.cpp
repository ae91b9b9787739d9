#include "title_list_model.h"

#include "codepage.h"

namespace sceneshifter {

int TitleListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : doc_.AreaCount();
}

QVariant TitleListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= doc_.AreaCount() ||
      (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
    return QVariant();
  return FromFileBytes(TitleListEntry(doc_.Areas[index.row()]));
}

void TitleListModel::Refill() {
  beginResetModel();
  endResetModel();
}

}  // namespace sceneshifter
