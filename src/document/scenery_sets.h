// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenery_document.h"

namespace sceneshifter {

// One area as a scenery set remembers it: what identifies it (area_matching.h)
// in the file's bytes, and whether it was switched on.
struct SetArea {
  std::string folder;
  std::string title;
  bool active = false;
  bool operator==(const SetArea&) const = default;
};

// A named state of every area of a scenery file, to come back to.
struct ScenerySet {
  std::string name;  // UTF-8, trimmed, never empty
  std::vector<SetArea> areas;
  bool operator==(const ScenerySet&) const = default;
};

// Whether the simulator shows the area: its Active flag reads true, as the
// panel's Active box and the list read it.
bool IsActiveArea(const AreaEntry& area);

// The areas of `doc` as they are now, under `name`.
ScenerySet SetOfDocument(const SceneryDocument& doc, std::string name);

// What applying a set would do to a table.
struct SetPlan {
  // The slot and the set's flag of each area whose state would change.
  std::vector<std::pair<int, bool>> changes;
  int notInSet = 0;  // areas of the table that the set does not know
};

// Each area that `set` knows takes the set's flag; the rest stay as they
// are. Areas already in the set's state are not part of the plan.
SetPlan PlanSet(const SceneryDocument& doc, const ScenerySet& set);

// Writes the changes of a plan as Edit's O K would ("True"/"False");
// returns how many areas changed. Sets FileChanged when any did.
int ApplySetChanges(SceneryDocument& doc,
                    const std::vector<std::pair<int, bool>>& changes);

// The line that tells what an applied set did.
std::string SetAppliedText(std::string_view name, int changed, int notInSet);

// `name` without the blanks around it, as sets are named.
std::string TrimmedSetName(std::string_view name);

// Why `name` (trimmed) cannot name a set, or empty when it can: it must be
// UTF-8 text, not empty, without control characters.
std::string SetNameProblem(std::string_view name);

// The index of the set named `name` exactly, or -1.
int FindSet(const std::vector<ScenerySet>& sets, std::string_view name);

}  // namespace sceneshifter
