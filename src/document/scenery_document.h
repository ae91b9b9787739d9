// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "area_entry.h"
#include "file_ops.h"

namespace sceneshifter {

// The most areas a table holds: Areas(0) .. Areas(3000).
inline constexpr int kAreaSlots = 3001;
inline constexpr int kHeaderSlots = 201;  // HeaderLines(0) .. HeaderLines(200)

// The one document that every window of a run shares. Paths (ConfigFile,
// FSFolder) are host paths in UTF-8; everything read from the scenery file
// stays in the file's 8-bit bytes.
struct SceneryDocument {
  std::vector<std::string> HeaderLines = std::vector<std::string>(kHeaderSlots);
  // The areas of the document and no more: Areas(0) .. Areas(LastArea).
  // LastArea is kept in step with the table's size (Areas.size() - 1) by
  // the reader and by the table operations (table_operations.h), the only
  // code that adds or removes areas. Before any file is read the table
  // holds one empty area, so LastArea starts at 0.
  std::vector<AreaEntry> Areas = std::vector<AreaEntry>(1);
  std::int16_t LastArea = 0;  // -1 when the table is empty
  std::int16_t CurrentArea = 0;
  std::string ConfigFile;
  bool FileChanged = false;
  bool AreasSorted = false;

  // Remembered between runs: the scenery folder last chosen in the folder
  // picker, relative to FSFolder, with "\" between its folder names.
  std::string SceneryPath;
  // The folder of the scenery file found at start-up, without separator.
  std::string FSFolder;

  // The file last read or written, and what it held then, so that a change
  // made meanwhile by another program can be noticed before a save.
  std::string DiskPath;
  FileFingerprint DiskFingerprint;

  int AreaCount() const { return LastArea + 1; }
};

// The "00#" pattern: at least three digits, leading zeros.
std::string FormatAreaNumber(int n);

// The sort key of a Number text: the number the text begins with (after
// leading blanks), rounded half to even, held to the 16-bit range; 0 when
// the text does not begin with a number.
std::int16_t NumberValue(std::string_view text);

// The same parse for a Layer value; false when there is no fitting value.
bool ParseLayerValue(std::string_view text, std::int16_t& out);

// The title list's line for an area: layer, eight spaces, title.
std::string TitleListEntry(const AreaEntry& area);

// Puts Areas(0..LastArea) in order of their number values (equal values keep
// their order), renumbers them 001, 002, ... with layers 1, 2, ..., and sets
// AreasSorted, and FileChanged when anything moved.
void SortAreas(SceneryDocument& doc);

}  // namespace sceneshifter
