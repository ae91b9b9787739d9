// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "area_entry.h"
#include "scenery_document.h"

namespace sceneshifter {

inline constexpr const char* kReadFailureMessage =
    "There Appears to be A problem reading your Scenery.cfg File Please Check "
    "it";
inline constexpr const char* kTooManyAreasMessage =
    "This scenery file holds more than 3001 scenery areas, the most that "
    "Sceneshifter can keep. The file was not loaded.";

// What a read gives: the header slots that lines reached (at most 201), the
// areas read (LastArea + 1 records) and the index of the last area, ready to
// replace a document's own only when `ok` is true.
struct ReadResult {
  bool ok = false;
  std::string error;   // the message for the user when !ok
  std::string detail;  // what exactly went wrong, and where, when !ok
  std::vector<std::string> HeaderLines;
  std::vector<AreaEntry> Areas;
  std::int16_t LastArea = -1;
  FileFingerprint Fingerprint;  // of the file read, by ReadSceneryFile
};

// Reads the scenery text held in `bytes`.
ReadResult ReadSceneryBytes(std::string_view bytes);

// Reads the scenery file at the UTF-8 host path `path`.
ReadResult ReadSceneryFile(const std::string& path);

// Puts a successful read into `doc` in place of its header and areas and
// sorts it.
void AdoptRead(SceneryDocument& doc, ReadResult&& read);

// Reads ConfigFile into `doc` and sorts it. On failure `doc` is untouched
// and the message is returned, with the file's path and the reason in
// `detail` when given; on success returns an empty text.
std::string LoadDocument(SceneryDocument& doc, std::string* detail = nullptr);

}  // namespace sceneshifter
