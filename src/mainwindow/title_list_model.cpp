// SPDX-License-Identifier: MIT
#include "title_list_model.h"

#include <QMimeData>
#include <algorithm>

#include "codepage.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

const QString kAreaMimeType =
    QStringLiteral("application/x-sceneshifter-area-slot");

}  // namespace

int TitleListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant TitleListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= doc_.AreaCount()) return QVariant();
  if (role == Qt::AccessibleDescriptionRole) return Description(index.row());
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
    return QVariant();
  return FromFileBytes(TitleListEntry(doc_.Areas[index.row()]));
}

QString TitleListModel::Description(int row) const {
  if (row < 0 || row >= doc_.AreaCount()) return QString();
  QStringList parts;
  // Greyed in the list.
  if (!EqualsNoCase(doc_.Areas[row].Active, "true"))
    parts << QStringLiteral("inactive");
  if (problems_) {
    const QString problems = problems_(row);
    if (!problems.isEmpty())
      parts << problems.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  return parts.join(QStringLiteral("; "));
}

void TitleListModel::Reset() {
  beginResetModel();
  rows_ = doc_.AreaCount();
  endResetModel();
}

void TitleListModel::Show(const TableChange& change) {
  using Kind = TableChange::Kind;
  switch (change.kind) {
    case Kind::None:
      return;
    case Kind::Moved:
      beginMoveRows(QModelIndex(), change.from, change.from, QModelIndex(),
                    change.to > change.from ? change.to + 1 : change.to);
      endMoveRows();
      break;
    case Kind::Removed:
      beginRemoveRows(QModelIndex(), change.from, change.from);
      rows_ = doc_.AreaCount();
      endRemoveRows();
      break;
    case Kind::Inserted:
      beginInsertRows(QModelIndex(), change.from, change.from);
      rows_ = doc_.AreaCount();
      endInsertRows();
      break;
    case Kind::Rewritten:
      break;
  }
  // The entries that moved past others, or were rewritten, read anew.
  if (change.first <= change.last)
    emit dataChanged(index(change.first), index(change.last));
}

Qt::ItemFlags TitleListModel::flags(const QModelIndex& index) const {
  // Drops go between entries, never onto one.
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

Qt::DropActions TitleListModel::supportedDragActions() const {
  return Qt::MoveAction;
}

Qt::DropActions TitleListModel::supportedDropActions() const {
  return Qt::MoveAction;
}

QStringList TitleListModel::mimeTypes() const { return {kAreaMimeType}; }

QMimeData* TitleListModel::mimeData(const QModelIndexList& indexes) const {
  if (indexes.size() != 1 || !indexes.front().isValid()) return nullptr;
  auto* data = new QMimeData;
  data->setData(kAreaMimeType, QByteArray::number(indexes.front().row()));
  return data;
}

bool TitleListModel::DroppedMove(const QMimeData* data, Qt::DropAction action,
                                 int row, const QModelIndex& parent, int& from,
                                 int& to) const {
  if (!data || action != Qt::MoveAction || parent.isValid() ||
      !data->hasFormat(kAreaMimeType))
    return false;
  bool ok = false;
  from = data->data(kAreaMimeType).toInt(&ok);
  if (!ok) return false;
  // Dropped before entry `row`, or below the last one.
  const int before = row < 0 ? rows_ : std::min(row, rows_);
  to = before > from ? before - 1 : before;
  return to != from && CheckMove(doc_, from, to) == MoveRefusal::None;
}

bool TitleListModel::canDropMimeData(const QMimeData* data,
                                     Qt::DropAction action, int row, int,
                                     const QModelIndex& parent) const {
  int from = -1, to = -1;
  return DroppedMove(data, action, row, parent, from, to);
}

bool TitleListModel::dropMimeData(const QMimeData* data, Qt::DropAction action,
                                  int row, int, const QModelIndex& parent) {
  int from = -1, to = -1;
  if (!DroppedMove(data, action, row, parent, from, to)) return false;
  // The move is the window's, through the table operations. The view then
  // asks to remove the dragged rows, which this model never does.
  emit moveRequested(from, to);
  return true;
}

}  // namespace sceneshifter
