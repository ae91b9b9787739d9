// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>

#include "area_entry.h"
#include "scenery_document.h"

namespace sceneshifter {

// The editing commands' changes of the area table, without any window.
//
// Each operation expects the table in order, every slot numbered and
// layered by its position (as a load and every operation leave it), and
// keeps it so: the number and layer stay with the slot, so an area that
// moves takes those of its new slot. That is what the commands' sort and
// renumbering would give, so no sort is needed; AreasSorted keeps telling
// what the last sort did.

// The values that O K stores from the editor panel into an area: every
// field but the number, the layer, the texture line and the spare.
struct AreaValues {
  std::string Title;
  std::string PathKey;
  std::string PathValue;
  std::string Active;
  std::string Required;
  std::string Exclude;
  std::array<std::string, 10> Flatten;

  bool operator==(const AreaValues&) const = default;
};

AreaValues ValuesOf(const AreaEntry& area);
// `area` as O K would leave it with `values` stored.
AreaEntry WithValues(AreaEntry area, const AreaValues& values);

// The first field of `typed` whose value holds a control character (a line
// break, a tab, ...) that `held`, the area's values before, did not have
// there: "Title", "Folder", "Exclude" or "Flatten N"; empty when there is
// none. Typed text with one would break the file for other readers; what was
// read from the file is kept as it is.
std::string ControlCharacterField(const AreaValues& typed,
                                  const AreaValues& held);

// What an operation changed, so that callers need not compare tables, and
// what it takes to change it back. Slots are those of the table after the
// change, except `from` of a move.
struct TableChange {
  enum class Kind { None, Moved, Removed, Inserted, Rewritten };
  Kind kind = Kind::None;
  int from = -1;  // Moved: the area's slot before; otherwise the slot
  int to = -1;    // Moved: the area's slot after; otherwise as `from`
  // The slots whose list entry (layer and title) now reads differently,
  // besides an inserted one; empty when first > last.
  int first = 0;
  int last = -1;
  // The list entry that the command selects afterwards; -1 for none.
  int select = -1;
  AreaEntry removed;  // Removed: the area as it was in the table
  AreaValues before;  // Rewritten: the values the area held

  bool Changed() const { return kind != Kind::None; }
};

// ---- the commands ----

// Raise: the area at `slot` changes places with the next one. FileChanged
// is set even when nothing moves (the last area).
TableChange RaiseArea(SceneryDocument& doc, int slot);

// Lower: the area at `slot` changes places with the one before. The areas
// in slots 0 to 2 do not move; FileChanged is set all the same.
TableChange LowerArea(SceneryDocument& doc, int slot);

// Delete: every later area moves down one slot. Selects the area before.
TableChange DeleteArea(SceneryDocument& doc, int slot);

// O K of Edit: stores `values` into the area at `slot`; sets FileChanged.
// Reports no change when every byte was already so.
TableChange StoreArea(SceneryDocument& doc, int slot, const AreaValues& values);

// O K of Add: a new area carrying the number text `number` and `values`
// goes where the sort puts it, directly after the areas whose number value
// is not greater (the end, for the number that Add proposes). Selects the
// last entry. Refused (no change) when the table is full.
TableChange AppendArea(SceneryDocument& doc, const std::string& number,
                       const AreaValues& values);

// Why an area cannot be moved, as the equivalent Raise or Lower presses
// could not move it.
enum class MoveRefusal {
  None,
  NoSuchArea,      // `slot` is not an area of the table
  NoSuchLayer,     // the target is outside the table
  CannotLower,     // the areas at layers 1 to 3 are never lowered
  BelowLayerThree  // lowering stops at layer 3
};

MoveRefusal CheckMove(const SceneryDocument& doc, int slot, int target);

// The short message for a refusal, naming layers (slot + 1).
std::string MoveRefusalText(MoveRefusal refusal, const SceneryDocument& doc,
                            int slot, int target);

// Move: the area at `slot` goes to slot `target` in one step, giving the
// table that |target - slot| presses of Raise or Lower would give. A
// refused move, or one to its own slot, changes nothing. Selects the moved
// area.
TableChange MoveArea(SceneryDocument& doc, int slot, int target);

// ---- the steps that undo and redo replay, free of the commands' limits;
// each sets FileChanged when it changes the table ----

TableChange MoveSlot(SceneryDocument& doc, int from, int to);
// `area` goes into `slot` (0 to the area count), taking its number and
// layer; refused when the table is full.
TableChange InsertArea(SceneryDocument& doc, int slot, AreaEntry area);
TableChange RemoveArea(SceneryDocument& doc, int slot);

// Takes back `change`, the last change made to the table, and returns the
// change that this made: reverting that in turn makes `change` again. The
// result selects the area the change acted on (for a taken-back insertion,
// the area before it).
TableChange RevertChange(SceneryDocument& doc, const TableChange& change);

}  // namespace sceneshifter
