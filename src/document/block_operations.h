// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "area_entry.h"
#include "scenery_document.h"
#include "table_operations.h"

namespace sceneshifter {

// The commands on several selected areas at once. Each makes one change of
// the table that BlockRevert takes back whole, so that a command on a
// selection is one step of the history. `slots` are table slots, in any
// order and possibly repeated; the operations sort them.

struct BlockChange {
  enum class Kind { None, Placed, Removed, Inserted, Rewritten };
  Kind kind = Kind::None;
  // Placed: the areas at `from` (ascending) went to `to` (ascending, same
  // order); every other area kept its order in the remaining slots.
  // Removed: the slots the areas held, ascending. Inserted: the slots they
  // now hold, ascending. Rewritten: the slots.
  std::vector<int> from;
  std::vector<int> to;
  std::vector<AreaEntry> removed;         // Removed: the areas, as in `from`
  std::vector<std::string> activeBefore;  // Rewritten: Active texts before
  // The slots whose list entry now reads differently, besides inserted
  // ones; empty when first > last.
  int first = 0;
  int last = -1;
  // The entries the command selects afterwards, ascending.
  std::vector<int> select;

  bool Changed() const { return kind != Kind::None; }
};

// Raise of a selection: every selected area one layer up, keeping their
// order. Like Raise of one area it is refused (nothing moves) when the last
// area is among them, and sets FileChanged either way. With one slot it
// gives the table that RaiseArea gives.
BlockChange RaiseAreas(SceneryDocument& doc, std::vector<int> slots);

// Lower of a selection: refused when an area at layers 1 to 3 is among
// them; sets FileChanged either way.
BlockChange LowerAreas(SceneryDocument& doc, std::vector<int> slots);

// Delete of a selection. Selects the area before the first deleted one.
BlockChange DeleteAreas(SceneryDocument& doc, std::vector<int> slots);

// Why the selection cannot go, as a block, with its first area at `target`:
// the refusal that a single Move To would give for the first area of it
// that cannot reach its place; `refused` is that area's slot.
MoveRefusal CheckBlockMove(const SceneryDocument& doc, std::vector<int> slots,
                           int target, int* refused = nullptr);

// Move To of a selection: the areas, in their order, to the slots from
// `target` on. A refused move changes nothing; one that leaves every area
// where it is changes nothing either but selects them.
BlockChange MoveAreas(SceneryDocument& doc, std::vector<int> slots, int target);

// Sets the Active flag of the selected areas to `active`, written as O K
// writes it ("True"/"False"). Only areas whose shown state changes are
// written; sets FileChanged when any is.
BlockChange SetAreasActive(SceneryDocument& doc, std::vector<int> slots,
                           bool active);

// Writes the Active texts of several areas: `texts[i]` into `slots[i]`.
// The step that undo and redo of SetAreasActive replay.
BlockChange SetActiveTexts(SceneryDocument& doc, const std::vector<int>& slots,
                           const std::vector<std::string>& texts);

// The Active flag as the panel shows it.
bool IsActive(const AreaEntry& area);

// Takes back `change`, the last change made to the table, and returns the
// change that this made (reverting that makes `change` again). Selects the
// areas the change acted on.
BlockChange BlockRevert(SceneryDocument& doc, const BlockChange& change);

}  // namespace sceneshifter
