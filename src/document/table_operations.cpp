// SPDX-License-Identifier: MIT
#include "table_operations.h"

#include <algorithm>
#include <utility>

#include "text_bytes.h"

namespace sceneshifter {
namespace {

bool IsArea(const SceneryDocument& doc, int slot) {
  return slot >= 0 && slot <= doc.LastArea;
}

void KeepLastAreaInStep(SceneryDocument& doc) {
  doc.LastArea = static_cast<std::int16_t>(doc.Areas.size()) - 1;
}

// Gives slots first..last the number and layer of their position.
void Renumber(SceneryDocument& doc, int first, int last) {
  for (int i = first; i <= last; ++i) {
    AreaEntry& a = doc.Areas[i];
    a.Layer = static_cast<std::int16_t>(i + 1);
    a.Number = FormatAreaNumber(i + 1);
  }
}

void Store(AreaEntry& a, const AreaValues& v) {
  a.Title = v.Title;
  a.PathKey = v.PathKey;
  a.PathValue = v.PathValue;
  a.Active = v.Active;
  a.Required = v.Required;
  a.Exclude = v.Exclude;
  a.Flatten = v.Flatten;
}

TableChange Made(TableChange::Kind kind, int from, int to, int first, int last,
                 int select) {
  TableChange change;
  change.kind = kind;
  change.from = from;
  change.to = to;
  change.first = first;
  change.last = last;
  change.select = select;
  return change;
}

// A command that changed no area but leaves `slot` selected.
TableChange Unchanged(int slot) {
  return Made(TableChange::Kind::None, -1, -1, 0, -1, slot);
}

std::string Layer(int slot) { return std::to_string(slot + 1); }

}  // namespace

AreaValues ValuesOf(const AreaEntry& a) {
  return {a.Title,    a.PathKey, a.PathValue, a.Active,
          a.Required, a.Exclude, a.Flatten};
}

AreaEntry WithValues(AreaEntry area, const AreaValues& values) {
  Store(area, values);
  return area;
}

std::string ControlCharacterField(const AreaValues& typed,
                                  const AreaValues& held) {
  auto broken = [](const std::string& now, const std::string& before) {
    return now != before && HasControlCharacter(now);
  };
  if (broken(typed.Title, held.Title)) return "Title";
  if (broken(typed.PathValue, held.PathValue)) return "Folder";
  if (broken(typed.Exclude, held.Exclude)) return "Exclude";
  for (std::size_t k = 0; k < typed.Flatten.size(); ++k)
    if (broken(typed.Flatten[k], held.Flatten[k]))
      return "Flatten " + std::to_string(k);
  return {};
}

TableChange MoveSlot(SceneryDocument& doc, int from, int to) {
  if (!IsArea(doc, from) || !IsArea(doc, to) || from == to) return {};
  auto at = [&](int slot) { return doc.Areas.begin() + slot; };
  if (from < to)
    std::rotate(at(from), at(from + 1), at(to + 1));
  else
    std::rotate(at(to), at(from), at(from + 1));
  const int first = std::min(from, to), last = std::max(from, to);
  Renumber(doc, first, last);
  doc.FileChanged = true;
  return Made(TableChange::Kind::Moved, from, to, first, last, to);
}

TableChange InsertArea(SceneryDocument& doc, int slot, AreaEntry area) {
  const int count = doc.LastArea + 1;
  if (slot < 0 || slot > count || count >= kAreaSlots) return {};
  doc.Areas.insert(doc.Areas.begin() + slot, std::move(area));
  KeepLastAreaInStep(doc);
  Renumber(doc, slot, doc.LastArea);
  doc.FileChanged = true;
  return Made(TableChange::Kind::Inserted, slot, slot, slot + 1, doc.LastArea,
              slot);
}

TableChange RemoveArea(SceneryDocument& doc, int slot) {
  if (!IsArea(doc, slot)) return {};
  AreaEntry removed = std::move(doc.Areas[slot]);
  doc.Areas.erase(doc.Areas.begin() + slot);
  KeepLastAreaInStep(doc);
  Renumber(doc, slot, doc.LastArea);
  TableChange change = Made(TableChange::Kind::Removed, slot, slot, slot,
                            doc.LastArea, slot - 1);
  change.removed = std::move(removed);
  doc.FileChanged = true;
  return change;
}

TableChange RaiseArea(SceneryDocument& doc, int slot) {
  if (!IsArea(doc, slot)) return {};
  doc.FileChanged = true;
  if (slot >= doc.LastArea) return Unchanged(slot);
  return MoveSlot(doc, slot, slot + 1);
}

TableChange LowerArea(SceneryDocument& doc, int slot) {
  if (!IsArea(doc, slot)) return {};
  doc.FileChanged = true;
  if (slot <= 2) return Unchanged(slot);
  return MoveSlot(doc, slot, slot - 1);
}

TableChange DeleteArea(SceneryDocument& doc, int slot) {
  return RemoveArea(doc, slot);
}

TableChange StoreArea(SceneryDocument& doc, int slot,
                      const AreaValues& values) {
  if (!IsArea(doc, slot)) return {};
  doc.FileChanged = true;
  AreaEntry& a = doc.Areas[slot];
  AreaValues before = ValuesOf(a);
  if (before == values) return Unchanged(slot);
  Store(a, values);
  TableChange change =
      Made(TableChange::Kind::Rewritten, slot, slot, slot, slot, slot);
  change.before = std::move(before);
  return change;
}

TableChange AppendArea(SceneryDocument& doc, const std::string& number,
                       const AreaValues& values) {
  if (doc.LastArea + 1 >= kAreaSlots) return {};
  // The sort is stable and the table in order: the new area, last in the
  // table, settles after every area whose number value is not greater.
  const std::int16_t key = NumberValue(number);
  const auto place = std::upper_bound(doc.Areas.begin(), doc.Areas.end(), key,
                                      [](std::int16_t k, const AreaEntry& a) {
                                        return k < NumberValue(a.Number);
                                      });
  AreaEntry added;
  added.Number = number;
  Store(added, values);
  TableChange change = InsertArea(
      doc, static_cast<int>(place - doc.Areas.begin()), std::move(added));
  change.select = doc.LastArea;
  return change;
}

MoveRefusal CheckMove(const SceneryDocument& doc, int slot, int target) {
  if (!IsArea(doc, slot)) return MoveRefusal::NoSuchArea;
  if (!IsArea(doc, target)) return MoveRefusal::NoSuchLayer;
  if (target < slot) {
    if (slot <= 2) return MoveRefusal::CannotLower;
    if (target < 2) return MoveRefusal::BelowLayerThree;
  }
  return MoveRefusal::None;
}

std::string MoveRefusalText(MoveRefusal refusal, const SceneryDocument& doc,
                            int slot, int target) {
  const std::string layers =
      doc.LastArea < 0 ? std::string("there are no areas")
                       : "the layers go from 1 to " + Layer(doc.LastArea);
  switch (refusal) {
    case MoveRefusal::None:
      return {};
    case MoveRefusal::NoSuchArea:
      return "There is no area at layer " + Layer(slot) + ": " + layers + ".";
    case MoveRefusal::NoSuchLayer:
      return "There is no layer " + Layer(target) + ": " + layers + ".";
    case MoveRefusal::CannotLower:
      return "The areas at layers 1 to 3 cannot be lowered.";
    case MoveRefusal::BelowLayerThree:
      return "An area cannot be lowered below layer 3.";
  }
  return {};
}

TableChange RevertChange(SceneryDocument& doc, const TableChange& change) {
  switch (change.kind) {
    case TableChange::Kind::None:
      return {};
    case TableChange::Kind::Moved:
      return MoveSlot(doc, change.to, change.from);
    case TableChange::Kind::Removed:
      return InsertArea(doc, change.from, change.removed);
    case TableChange::Kind::Inserted:
      return RemoveArea(doc, change.from);
    case TableChange::Kind::Rewritten:
      return StoreArea(doc, change.from, change.before);
  }
  return {};
}

TableChange MoveArea(SceneryDocument& doc, int slot, int target) {
  if (CheckMove(doc, slot, target) != MoveRefusal::None) return {};
  if (slot == target) return Unchanged(slot);
  return MoveSlot(doc, slot, target);
}

}  // namespace sceneshifter
