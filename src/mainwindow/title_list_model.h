// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <functional>

#include "block_operations.h"
#include "scenery_document.h"
#include "table_operations.h"

namespace sceneshifter {

// The title list as a view over the area table: entry i is slot i's layer,
// eight spaces and title, made when the list shows it. The table changes
// first; the model is then told what changed, row by row, so that the list
// keeps its scroll position and selection.
//
// An entry can be dragged to another place in the list; a drop asks for the
// move through moveRequested, and a place the move rules refuse is shown as
// a forbidden drop.
class TitleListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit TitleListModel(const SceneryDocument& doc, QObject* parent = nullptr)
      : QAbstractListModel(parent), doc_(doc) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // What a screen reader adds to entry `row`'s text: "inactive", and the
  // area's problems in words, as `problems` gives them (one a line). Read
  // when asked for, so that a new check needs no change to be told.
  void SetProblems(std::function<QString(int row)> problems) {
    problems_ = std::move(problems);
  }
  QString Description(int row) const;

  // After the whole table was replaced: every entry is read again.
  void Reset();
  // After `change` was made to the table.
  void Show(const TableChange& change);
  // After `change`, a command on several areas, was made to the table.
  void Show(const BlockChange& change);

  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDragActions() const override;
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  // Several dragged entries travel as a block.
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                       int column, const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                    int column, const QModelIndex& parent) override;

 signals:
  // A dragged entry was dropped so that the area at `from` would go to slot
  // `to`, a move that the rules allow.
  void moveRequested(int from, int to);
  // Several dragged entries were dropped so that the areas at `dragged` would
  // go, as a block, to the slots from `target` on, as the rules allow.
  void blockMoveRequested(std::vector<int> dragged, int target);

 private:
  // The move that dropping `data` before row `row` asks for.
  bool DroppedMove(const QMimeData* data, Qt::DropAction action, int row,
                   const QModelIndex& parent, std::vector<int>& dragged,
                   int& to) const;

  const SceneryDocument& doc_;
  std::function<QString(int)> problems_;
  // The rows the attached views know of, which trail the table while a
  // change is being told.
  int rows_ = 0;
};

}  // namespace sceneshifter
