// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "area_entry.h"

namespace sceneshifter {

// What tells one area from another across two tables (a saved scenery set,
// an earlier version of the file): its folder and its title, as the file's
// bytes. The layer is not part of it, so that a renumbering is a move.
struct AreaIdentity {
  std::string folder;
  std::string title;
};

AreaIdentity IdentityOf(const AreaEntry& area);

// The folder as areas are matched by it: letters without case, "/" read as
// "\", trailing separators dropped. Empty for an area without a folder.
std::string FolderMatchKey(std::string_view folder);

// For each area of `left`, the index of the same area in `right`, or -1.
// Areas are paired by folder (FolderMatchKey); where several areas share a
// folder, those with the same title (letter case ignored) pair first and
// the rest in their order; an area without a folder pairs by title alone.
// Each area of `right` pairs at most once.
std::vector<int> MatchAreas(const std::vector<AreaIdentity>& left,
                            const std::vector<AreaIdentity>& right);

}  // namespace sceneshifter
