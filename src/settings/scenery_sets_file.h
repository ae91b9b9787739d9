// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "file_ops.h"
#include "scenery_sets.h"
#include "scenery_writer.h"

namespace sceneshifter {

// The scenery sets of a scenery file live beside it, in one JSON file named
// after it: "Scenery.cfg.sets.json". Standard C++ only, so that the command
// line reads and writes them as the window does.
//
// A set's folders and titles are the scenery file's bytes. The file holds
// them as UTF-8 text in the code page named by its "codePage", which
// converts every byte both ways, so the bytes come back exactly whatever
// code page a later run uses.

std::string SetsFilePath(const std::string& sceneryFile);

// The sets as read, and what the file held then, so that a write can tell
// that another program (the command line, a second window) changed it.
struct SetsFile {
  std::vector<ScenerySet> sets;
  FileFingerprint read;  // `exists` false: there was no file yet
};

// Reads the sets file at `path`. A missing file is no sets. False, with the
// reason in `error`, when it cannot be read or is not a sets file that this
// program can read; `file` is then left as it was.
bool ReadSetsFile(const std::string& path, SetsFile& file, std::string& error);

// Writes `file.sets` to `path` as the scenery file is saved (a temporary
// file renamed over it, the old text kept as ".bak"); refused when the file
// on disk is no longer what `file.read` describes (`changedOnDisk`). On
// success `file.read` describes the new text.
SaveResult WriteSetsFile(const std::string& path, SetsFile& file,
                         FileOps& ops = DefaultFileOps());

// The JSON text of `sets`, and back; false with the reason when `text` is
// not a sets file.
std::string SetsJson(const std::vector<ScenerySet>& sets);
bool SetsFromJson(std::string_view text, std::vector<ScenerySet>& sets,
                  std::string& error);

}  // namespace sceneshifter
