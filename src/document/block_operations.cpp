// SPDX-License-Identifier: MIT
#include "block_operations.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "text_bytes.h"

namespace sceneshifter {
namespace {

// The slots in order, each once; empty when any is not an area.
std::vector<int> Areas(const SceneryDocument& doc, std::vector<int> slots) {
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  if (!slots.empty() && (slots.front() < 0 || slots.back() > doc.LastArea))
    slots.clear();
  return slots;
}

void Renumber(SceneryDocument& doc, int first, int last) {
  for (int i = first; i <= last; ++i) {
    AreaEntry& a = doc.Areas[i];
    a.Layer = static_cast<std::int16_t>(i + 1);
    a.Number = FormatAreaNumber(i + 1);
  }
}

void KeepLastAreaInStep(SceneryDocument& doc) {
  doc.LastArea = static_cast<std::int16_t>(doc.Areas.size()) - 1;
}

// A command that changed nothing but leaves `slots` selected.
BlockChange Unchanged(std::vector<int> slots) {
  BlockChange change;
  change.select = std::move(slots);
  return change;
}

// The areas at `from` go to `to` (both ascending, of one size); the others
// keep their order in the slots left. Only the slots between the first and
// the last named are touched.
BlockChange Place(SceneryDocument& doc, std::vector<int> from,
                  std::vector<int> to) {
  if (from.empty() || from == to) return Unchanged(std::move(to));
  const int first = std::min(from.front(), to.front());
  const int last = std::max(from.back(), to.back());
  const int span = last - first + 1;
  std::vector<AreaEntry> placed(span);
  std::vector<char> leaving(span, 0), arriving(span, 0);
  for (std::size_t i = 0; i < from.size(); ++i) {
    placed[to[i] - first] = std::move(doc.Areas[from[i]]);
    leaving[from[i] - first] = 1;
    arriving[to[i] - first] = 1;
  }
  int free = 0;
  for (int r = 0; r < span; ++r) {
    if (leaving[r]) continue;
    while (arriving[free]) ++free;
    placed[free++] = std::move(doc.Areas[first + r]);
  }
  std::move(placed.begin(), placed.end(), doc.Areas.begin() + first);
  Renumber(doc, first, last);
  doc.FileChanged = true;
  BlockChange change;
  change.kind = BlockChange::Kind::Placed;
  change.first = first;
  change.last = last;
  change.select = to;
  change.from = std::move(from);
  change.to = std::move(to);
  return change;
}

// `areas` into `slots` (ascending), each taking the number and layer of
// its slot.
BlockChange Reinsert(SceneryDocument& doc, const std::vector<int>& slots,
                     const std::vector<AreaEntry>& areas) {
  if (slots.empty() ||
      doc.AreaCount() + static_cast<int>(slots.size()) > kAreaSlots)
    return {};
  // One pass from the first slot on, rather than an insertion each.
  const int first = slots.front();
  std::vector<AreaEntry> tail;
  tail.reserve(doc.Areas.size() - first + slots.size());
  std::size_t next = 0;
  for (int read = first; read < static_cast<int>(doc.Areas.size());) {
    if (next < slots.size() &&
        slots[next] == first + static_cast<int>(tail.size()))
      tail.push_back(areas[next++]);
    else
      tail.push_back(std::move(doc.Areas[read++]));
  }
  while (next < slots.size()) tail.push_back(areas[next++]);
  doc.Areas.resize(first);
  std::move(tail.begin(), tail.end(), std::back_inserter(doc.Areas));
  KeepLastAreaInStep(doc);
  Renumber(doc, slots.front(), doc.LastArea);
  doc.FileChanged = true;
  BlockChange change;
  change.kind = BlockChange::Kind::Inserted;
  change.from = slots;
  change.first = slots.front();
  change.last = doc.LastArea;
  change.select = slots;
  return change;
}

}  // namespace

bool IsActive(const AreaEntry& area) {
  return EqualsNoCase(area.Active, "true");
}

BlockChange RaiseAreas(SceneryDocument& doc, std::vector<int> slots) {
  slots = Areas(doc, std::move(slots));
  if (slots.empty()) return {};
  doc.FileChanged = true;
  if (slots.back() >= doc.LastArea) return Unchanged(std::move(slots));
  std::vector<int> to = slots;
  for (int& s : to) ++s;
  return Place(doc, std::move(slots), std::move(to));
}

BlockChange LowerAreas(SceneryDocument& doc, std::vector<int> slots) {
  slots = Areas(doc, std::move(slots));
  if (slots.empty()) return {};
  doc.FileChanged = true;
  if (slots.front() <= 2) return Unchanged(std::move(slots));
  std::vector<int> to = slots;
  for (int& s : to) --s;
  return Place(doc, std::move(slots), std::move(to));
}

BlockChange DeleteAreas(SceneryDocument& doc, std::vector<int> slots) {
  slots = Areas(doc, std::move(slots));
  if (slots.empty()) return {};
  BlockChange change;
  change.kind = BlockChange::Kind::Removed;
  change.removed.reserve(slots.size());
  for (const int s : slots) change.removed.push_back(std::move(doc.Areas[s]));
  // One pass closes every gap.
  std::size_t next = 0;
  int write = slots.front();
  for (int read = slots.front(); read <= doc.LastArea; ++read) {
    if (next < slots.size() && slots[next] == read) {
      ++next;
      continue;
    }
    doc.Areas[write++] = std::move(doc.Areas[read]);
  }
  doc.Areas.resize(write);
  KeepLastAreaInStep(doc);
  Renumber(doc, slots.front(), doc.LastArea);
  doc.FileChanged = true;
  change.first = slots.front();
  change.last = doc.LastArea;
  change.select = {slots.front() - 1};
  if (change.select.front() < 0) change.select.clear();
  change.from = std::move(slots);
  return change;
}

MoveRefusal CheckBlockMove(const SceneryDocument& doc, std::vector<int> slots,
                           int target, int* refused) {
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const MoveRefusal r =
        CheckMove(doc, slots[i], target + static_cast<int>(i));
    if (r != MoveRefusal::None) {
      if (refused) *refused = slots[i];
      return r;
    }
  }
  return MoveRefusal::None;
}

BlockChange MoveAreas(SceneryDocument& doc, std::vector<int> slots,
                      int target) {
  slots = Areas(doc, std::move(slots));
  if (slots.empty() || CheckBlockMove(doc, slots, target) != MoveRefusal::None)
    return {};
  std::vector<int> to(slots.size());
  for (std::size_t i = 0; i < to.size(); ++i)
    to[i] = target + static_cast<int>(i);
  return Place(doc, std::move(slots), std::move(to));
}

BlockChange SetActiveTexts(SceneryDocument& doc, const std::vector<int>& slots,
                           const std::vector<std::string>& texts) {
  if (slots.empty() || slots.size() != texts.size()) return {};
  BlockChange change;
  change.kind = BlockChange::Kind::Rewritten;
  change.first = slots.front();
  change.last = slots.front();
  change.activeBefore.reserve(slots.size());
  for (std::size_t i = 0; i < slots.size(); ++i) {
    std::string& active = doc.Areas[slots[i]].Active;
    change.activeBefore.push_back(active);
    active = texts[i];
    change.first = std::min(change.first, slots[i]);
    change.last = std::max(change.last, slots[i]);
  }
  doc.FileChanged = true;
  change.from = slots;
  change.select = slots;
  return change;
}

BlockChange SetAreasActive(SceneryDocument& doc, std::vector<int> slots,
                           bool active) {
  slots = Areas(doc, std::move(slots));
  std::vector<int> changing;
  for (const int s : slots)
    if (IsActive(doc.Areas[s]) != active) changing.push_back(s);
  if (changing.empty()) return Unchanged(std::move(slots));
  BlockChange change = SetActiveTexts(
      doc, changing,
      std::vector<std::string>(changing.size(), active ? "True" : "False"));
  change.select = std::move(slots);
  return change;
}

BlockChange BlockRevert(SceneryDocument& doc, const BlockChange& change) {
  switch (change.kind) {
    case BlockChange::Kind::None:
      return {};
    case BlockChange::Kind::Placed:
      return Place(doc, change.to, change.from);
    case BlockChange::Kind::Removed:
      return Reinsert(doc, change.from, change.removed);
    case BlockChange::Kind::Inserted:
      return DeleteAreas(doc, change.from);
    case BlockChange::Kind::Rewritten:
      return SetActiveTexts(doc, change.from, change.activeBefore);
  }
  return {};
}

}  // namespace sceneshifter
