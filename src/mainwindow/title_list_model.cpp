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

void TitleListModel::Show(const BlockChange& change) {
  using Kind = BlockChange::Kind;
  // Runs of neighbouring slots, each told as one removal or insertion.
  auto runs = [](const std::vector<int>& taken) {
    std::vector<std::pair<int, int>> found;
    for (const int s : taken) {
      if (!found.empty() && found.back().second + 1 == s)
        found.back().second = s;
      else
        found.emplace_back(s, s);
    }
    return found;
  };
  switch (change.kind) {
    case Kind::None:
      return;
    case Kind::Placed:
    case Kind::Rewritten:
      // The entries keep their rows; what the rows read is told below.
      break;
    case Kind::Removed: {
      // Slots before the removal: the last run first keeps the others'
      // rows as they were.
      const auto found = runs(change.from);
      for (auto run = found.rbegin(); run != found.rend(); ++run) {
        beginRemoveRows(QModelIndex(), run->first, run->second);
        rows_ -= run->second - run->first + 1;
        endRemoveRows();
      }
      break;
    }
    case Kind::Inserted:
      // Slots after the insertion: the first run first.
      for (const auto& [first, last] : runs(change.from)) {
        beginInsertRows(QModelIndex(), first, last);
        rows_ += last - first + 1;
        endInsertRows();
      }
      break;
  }
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
  QByteArrayList dragged;
  for (const QModelIndex& index : indexes) {
    if (!index.isValid()) return nullptr;
    dragged << QByteArray::number(index.row());
  }
  if (dragged.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(kAreaMimeType, dragged.join(' '));
  return data;
}

bool TitleListModel::DroppedMove(const QMimeData* data, Qt::DropAction action,
                                 int row, const QModelIndex& parent,
                                 std::vector<int>& dragged, int& to) const {
  if (!data || action != Qt::MoveAction || parent.isValid() ||
      !data->hasFormat(kAreaMimeType))
    return false;
  dragged.clear();
  for (const QByteArray& text : data->data(kAreaMimeType).split(' ')) {
    bool ok = false;
    dragged.push_back(text.toInt(&ok));
    if (!ok) return false;
  }
  std::sort(dragged.begin(), dragged.end());
  dragged.erase(std::unique(dragged.begin(), dragged.end()), dragged.end());
  // Dropped before entry `row`, or below the last one: the block's first
  // area goes where the entries above the drop, less the dragged ones, end.
  const int before = row < 0 ? rows_ : std::min(row, rows_);
  to = before - static_cast<int>(
                    std::lower_bound(dragged.begin(), dragged.end(), before) -
                    dragged.begin());
  if (dragged.size() == 1)
    return to != dragged.front() &&
           CheckMove(doc_, dragged.front(), to) == MoveRefusal::None;
  return CheckBlockMove(doc_, dragged, to) == MoveRefusal::None;
}

bool TitleListModel::canDropMimeData(const QMimeData* data,
                                     Qt::DropAction action, int row, int,
                                     const QModelIndex& parent) const {
  std::vector<int> dragged;
  int to = -1;
  return DroppedMove(data, action, row, parent, dragged, to);
}

bool TitleListModel::dropMimeData(const QMimeData* data, Qt::DropAction action,
                                  int row, int, const QModelIndex& parent) {
  std::vector<int> dragged;
  int to = -1;
  if (!DroppedMove(data, action, row, parent, dragged, to)) return false;
  // The move is the window's, through the table operations. The view then
  // asks to remove the dragged rows, which this model never does.
  if (dragged.size() == 1)
    emit moveRequested(dragged.front(), to);
  else
    emit blockMoveRequested(std::move(dragged), to);
  return true;
}

}  // namespace sceneshifter
