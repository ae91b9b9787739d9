// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "area_health.h"
#include "scenery_document.h"
#include "table_operations.h"

namespace sceneshifter {

// How many folders below the scanned one add-on folders are looked for.
inline constexpr int kScanDepth = 3;

// An add-on folder on disk that no area leads to yet.
struct NewFolder {
  std::string Title;      // the folder's name, in the file's bytes
  std::string PathValue;  // as Local= holds it, in the file's bytes
  std::string hostPath;   // UTF-8
  int bglFiles = 0;       // in its scenery subfolder
  bool operator==(const NewFolder&) const = default;
};

struct FolderScan {
  // Ordered by PathValue, letters compared without case.
  std::vector<NewFolder> folders;
  // Add-on folders found but not offered, each with the reason (UTF-8).
  std::vector<std::string> notes;
  int foldersRead = 0;
  bool cancelled = false;
};

// Looks through `folder` (a UTF-8 host path; empty for the scenery file's
// folder) and its subfolders, kScanDepth deep, for the add-on folders that
// the simulator would read (a "scenery" subfolder holding at least one .bgl
// file, names in any letter case) and that no area of `snapshot` leads to,
// found as the health check finds an area's folder. A folder is written
// relative to the scenery file's folder ("\" between names) where it lies
// inside it, else in full; the scenery file's folder itself is never offered.
// Unreadable folders are passed over. Stops early, with `cancelled` set,
// once `cancel` turns true; `progress` counts the folders read.
FolderScan ScanNewFolders(const HealthSnapshot& snapshot,
                          const std::string& folder,
                          const std::atomic<bool>* cancel = nullptr,
                          std::atomic<int>* progress = nullptr);

// The layer of the first area of `snapshot` that leads to `folder` (a UTF-8
// host path), found as the health check finds it; 0 when none does.
int LayerLeadingTo(const HealthSnapshot& snapshot, const std::string& folder);

// The area that Add New Folders makes of `folder`: Local=, active, not
// required, nothing else.
AreaValues NewAreaValues(const NewFolder& folder);

// Appends an area for each of `folders`, in order, after the last area: the
// first gets the lowest of the new layers. Refused, changing nothing, when
// the table cannot hold them all. The changes made, in order, go to
// `changes` when given.
bool AppendNewFolders(SceneryDocument& doc,
                      const std::vector<NewFolder>& folders,
                      std::vector<TableChange>* changes = nullptr);

// The refusal of AppendNewFolders in words, for `count` new areas.
std::string TableFullText(const SceneryDocument& doc, std::size_t count);

}  // namespace sceneshifter
