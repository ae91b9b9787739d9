// SPDX-License-Identifier: MIT
#include "area_filter_model.h"

#include <algorithm>

#include "text_bytes.h"

namespace sceneshifter {
namespace {

// `flags` follows the areas at `from` to `to` (both ascending), the others
// keeping their order, as the table operations place them.
void Place(std::vector<char>& flags, const std::vector<int>& from,
           const std::vector<int>& to) {
  if (from.empty()) return;
  const int first = std::min(from.front(), to.front());
  const int last = std::max(from.back(), to.back());
  std::vector<char> placed(last - first + 1);
  std::vector<char> leaving(placed.size(), 0), arriving(placed.size(), 0);
  for (std::size_t i = 0; i < from.size(); ++i) {
    placed[to[i] - first] = flags[from[i]];
    leaving[from[i] - first] = 1;
    arriving[to[i] - first] = 1;
  }
  std::size_t free = 0;
  for (std::size_t r = 0; r < placed.size(); ++r) {
    if (leaving[r]) continue;
    while (arriving[free]) ++free;
    placed[free++] = flags[first + r];
  }
  std::copy(placed.begin(), placed.end(), flags.begin() + first);
}

}  // namespace

AreaFilterModel::AreaFilterModel(const SceneryDocument& doc, QObject* parent)
    : QSortFilterProxyModel(parent), doc_(doc) {}

bool AreaFilterModel::Matches(int slot) const {
  const AreaEntry& a = doc_.Areas[slot];
  if (!text_.empty() && !ContainsNoCase(a.Title, text_) &&
      !ContainsNoCase(a.PathValue, text_))
    return false;
  switch (kind_) {
    case Kind::kAll:
      return true;
    case Kind::kActive:
      return IsActive(a);
    case Kind::kInactive:
      return !IsActive(a);
    case Kind::kWithProblems:
      return hasProblems_ && hasProblems_(slot);
  }
  return true;
}

bool AreaFilterModel::Shows(int slot) const {
  // A slot the flags do not know yet (a table read meanwhile) shows.
  if (slot < 0) return false;
  return slot >= static_cast<int>(matched_.size()) || matched_[slot] ||
         pinned_[slot];
}

void AreaFilterModel::SetFilter(std::string text, Kind kind) {
  text_ = std::move(text);
  kind_ = kind;
  Refilter();
}

void AreaFilterModel::Refilter() {
  pinned_.assign(doc_.AreaCount(), 0);
  matched_.resize(doc_.AreaCount());
  for (int i = 0; i < doc_.AreaCount(); ++i) matched_[i] = Matches(i);
  Apply();
}

void AreaFilterModel::ProblemsChanged() {
  if (!FollowsProblems()) return;
  for (int i = 0; i < static_cast<int>(matched_.size()); ++i)
    matched_[i] = Matches(i);
  Apply();
}

void AreaFilterModel::Apply() { invalidateRowsFilter(); }

void AreaFilterModel::Pin(const std::vector<int>& areas) {
  for (const int s : areas)
    if (s >= 0 && s < static_cast<int>(pinned_.size())) pinned_[s] = 1;
}

void AreaFilterModel::Follow(const TableChange& change) {
  using K = TableChange::Kind;
  switch (change.kind) {
    case K::None:
      return;
    case K::Moved:
      Place(matched_, {change.from}, {change.to});
      Place(pinned_, {change.from}, {change.to});
      Pin({change.to});
      return;
    case K::Removed:
      matched_.erase(matched_.begin() + change.from);
      pinned_.erase(pinned_.begin() + change.from);
      return;
    case K::Inserted:
      matched_.insert(matched_.begin() + change.from, 1);
      pinned_.insert(pinned_.begin() + change.from, 1);
      return;
    case K::Rewritten:
      Pin({change.from});
      return;
  }
}

void AreaFilterModel::Follow(const BlockChange& change) {
  using K = BlockChange::Kind;
  switch (change.kind) {
    case K::None:
      return;
    case K::Placed:
      Place(matched_, change.from, change.to);
      Place(pinned_, change.from, change.to);
      Pin(change.to);
      return;
    case K::Removed:
      for (auto s = change.from.rbegin(); s != change.from.rend(); ++s) {
        matched_.erase(matched_.begin() + *s);
        pinned_.erase(pinned_.begin() + *s);
      }
      return;
    case K::Inserted:
      for (const int s : change.from) {
        matched_.insert(matched_.begin() + s, 1);
        pinned_.insert(pinned_.begin() + s, 1);
      }
      return;
    case K::Rewritten:
      Pin(change.from);
      return;
  }
}

bool AreaFilterModel::filterAcceptsRow(int row, const QModelIndex&) const {
  return Shows(row);
}

}  // namespace sceneshifter
