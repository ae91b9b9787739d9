// SPDX-License-Identifier: MIT
#pragma once

#include <QSortFilterProxyModel>
#include <functional>
#include <string>
#include <vector>

#include "block_operations.h"
#include "scenery_document.h"
#include "table_operations.h"

namespace sceneshifter {

// Which areas the title list shows: those whose title or path contains the
// filter text (letter case ignored in the file's code page) and that are
// of the chosen kind. Rows stay the table's; the view sees the shown ones.
//
// An area that a command changed stays shown until the filter itself
// changes, so the flags that decide follow the areas through every change
// of the table; the window tells of each change before the list does.
class AreaFilterModel : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  enum class Kind { kAll, kActive, kInactive, kWithProblems };

  explicit AreaFilterModel(const SceneryDocument& doc,
                           QObject* parent = nullptr);

  // Whether the area at a slot has problems, for kWithProblems.
  void SetProblemTest(std::function<bool(int slot)> test) {
    hasProblems_ = std::move(test);
  }
  // A new filter: every area is matched again.
  void SetFilter(std::string text, Kind kind);
  // The areas' problems are known anew: with kWithProblems, they are
  // matched again; areas changed since the filter was set stay shown.
  void ProblemsChanged();
  // True while some area may be hidden.
  bool Filtering() const { return !text_.empty() || kind_ != Kind::kAll; }
  bool FollowsProblems() const { return kind_ == Kind::kWithProblems; }
  bool Shows(int slot) const;

  // The table has just changed so (the list model not yet told).
  void Follow(const TableChange& change);
  void Follow(const BlockChange& change);
  // The table was replaced.
  void Refilter();

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

 private:
  bool Matches(int slot) const;
  void Pin(const std::vector<int>& areas);
  void Apply();

  const SceneryDocument& doc_;
  std::function<bool(int)> hasProblems_;
  std::string text_;
  Kind kind_ = Kind::kAll;
  // By slot: the area matched when last matched; a command changed it.
  std::vector<char> matched_;
  std::vector<char> pinned_;
};

}  // namespace sceneshifter
