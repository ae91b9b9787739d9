#pragma once

#include <string>

#include "file_ops.h"
#include "scenery_document.h"

namespace sceneshifter {

// The whole scenery text for `doc`, every line ending in CR LF.
std::string WriteSceneryBytes(const SceneryDocument& doc);

struct SaveResult {
  bool ok = false;
  std::string error;          // why the save failed, when !ok
  std::string backupWarning;  // set when the save went on without a backup
};

// Writes `bytes` to `path` so that the file under its own name is always
// either its complete old text or the complete new one: the text goes to a
// temporary file beside it first, the old file is kept as `path` + ".bak",
// and the temporary file is then renamed over it.
SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops = DefaultFileOps());

// Writes `doc` to ConfigFile; FileChanged is cleared only after success.
SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops = DefaultFileOps());

}  // namespace sceneshifter
