// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "area_entry.h"
#include "scenery_document.h"

namespace sceneshifter {

// Why the simulator would quietly skip an area, or read it other than the
// user meant. In the order an area's problems are listed.
enum class HealthCode : std::uint8_t {
  kNoFolder,            // neither a Local= nor a Remote= folder
  kMissingFolder,       // the folder does not exist
  kNoScenerySubfolder,  // the folder has no "scenery" subfolder
  kNoBglFiles,          // that subfolder holds no .bgl file
  kDuplicateFolder,     // another area uses the same folder
  kOddFlag,             // Active or Required is neither true nor false
};

// The code as scripts read it: "no-folder", "missing-folder", ...
const char* HealthCodeName(HealthCode code);
// The problem in words, for people.
const char* HealthCodeWords(HealthCode code);

struct AreaProblem {
  std::int16_t layer = 0;  // the area's layer when the check began
  HealthCode code = HealthCode::kNoFolder;
  std::string detail;  // UTF-8
  // A duplicate folder: the layers of the other areas that use it.
  std::vector<std::int16_t> sameAs = {};
  bool operator==(const AreaProblem&) const = default;
};

// What the check reads of one area, copied so that the table may change
// while a check runs; the fields keep the table's names. Texts are the
// file's bytes.
struct HealthArea {
  std::int16_t Layer = 0;
  std::string PathKey;
  std::string PathValue;
  std::string Active;
  std::string Required;
  bool operator==(const HealthArea&) const = default;
};

HealthArea HealthAreaOf(const AreaEntry& area);

// Whether a report lists `problem` of an area that is `active` or not. The
// simulator does not read an inactive area, so its problems are listed on
// request only; an odd flag is listed whatever the state, since it is what
// makes the state unclear.
bool ReportsProblem(const AreaProblem& problem, bool active,
                    bool includeInactive);
// True when the check of `checked` holds for `area` as it is now.
bool SameHealthInputs(const AreaEntry& area, const HealthArea& checked);

struct HealthSnapshot {
  std::string baseFolder;         // UTF-8 host path of the scenery file's
                                  // folder, absolute
  std::vector<HealthArea> areas;  // in list order
};

// Copies what the check needs of the table; relative folders are taken from
// the folder of ConfigFile.
HealthSnapshot TakeHealthSnapshot(const SceneryDocument& doc);

struct HealthReport {
  std::vector<AreaProblem> problems;  // by layer, then by code
  int foldersRead = 0;                // folder listings made
  bool cancelled = false;
};

// Checks every area of `snapshot` against the file system, reading each
// folder at most once and changing nothing. Stops early, with `cancelled`
// set, once `cancel` turns true.
HealthReport CheckAreaHealth(const HealthSnapshot& snapshot,
                             const std::atomic<bool>* cancel = nullptr);

// The folder that each area of `snapshot` leads to, found as the check finds
// it: a UTF-8 host path spelled as on disk, or empty when the area names no
// folder or the folder is not there. One per area, in list order.
std::vector<std::string> AreaFolderPaths(const HealthSnapshot& snapshot);

// `name` with its letters folded to one case, as the simulator's file
// system compares names (the letters of the scenery file's code pages);
// bytes that are not UTF-8 stay as they are.
std::string FoldName(std::string_view utf8);

// True for a name ending in ".bgl" in any letter case: a file the simulator
// reads as scenery.
bool EndsWithBgl(std::string_view name);

}  // namespace sceneshifter
