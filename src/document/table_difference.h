// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "scenery_document.h"

namespace sceneshifter {

// A field whose value differs; values are the file's bytes.
struct FieldChange {
  std::string field;  // "Title", "Folder", "Flatten.3", ...
  std::string before;
  std::string after;
};

// How one area differs between an earlier table and a later one.
struct AreaDifference {
  enum class Kind { Added, Removed, Kept };
  enum class Switch { None, On, Off };
  Kind kind = Kind::Kept;
  int layerBefore = 0;  // 0 for an added area
  int layerAfter = 0;   // 0 for a removed one
  std::string title;    // the later title, or the earlier one when removed
  // Its place among the other areas changed: not a layer shifted only by
  // an addition or removal elsewhere.
  bool moved = false;
  Switch switched = Switch::None;
  std::vector<FieldChange> fields;  // other than the Active switch
};

// The areas that differ from `before` to `after`, matched by folder and
// title (MatchAreas), in the order of `after` with each removed area after
// the one that came before it.
std::vector<AreaDifference> DifferenceOfTables(const SceneryDocument& before,
                                               const SceneryDocument& after);

}  // namespace sceneshifter
