// SPDX-License-Identifier: MIT
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
  std::string syncWarning;    // set when the folder could not be synced
  // The save was refused because the file on disk is no longer what was
  // read or last written: another program has changed it.
  bool changedOnDisk = false;
  // After a successful save of a file that existed: the text it replaced
  // (the one the backup keeps), so that callers can keep it elsewhere too.
  bool replacedExisting = false;
  std::string replacedText;
};

// Writes `bytes` to `path` so that the file is always either its complete
// old text or the complete new one, and the new one survives a power cut:
// the text goes to a new temporary file beside it (with the old file's
// permissions) and is synced, a regular copy of the old text becomes `path`
// + ".bak", and the temporary file is renamed over the file. A symbolic
// link at `path` stays a link; the file it leads to is the one written. A
// failure leaves the file, its backup and the folder as they were. With
// `unchangedSince`, the old text (the one the backup keeps) must still be
// what that fingerprint describes, or nothing is written (`changedOnDisk`).
SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops = DefaultFileOps(),
                           const FileFingerprint* unchangedSince = nullptr);

// Whether a save checks the file on disk for changes made by other programs
// since it was read.
enum class SaveMode { CheckDisk, Overwrite };

// Writes `doc` to ConfigFile; FileChanged is cleared only after success.
// Refuses a table whose text would not read back as the same areas, and, in
// CheckDisk mode, a file that another program has changed since it was read
// (`changedOnDisk`).
SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops = DefaultFileOps(),
                        SaveMode mode = SaveMode::CheckDisk);

// Why `bytes`, the text written for `doc`, would not be read back as the same
// areas (naming the area and the field), or an empty text when it would.
std::string StorageProblem(const SceneryDocument& doc,
                           const std::string& bytes);

// What the messages say after the name of such a field.
inline constexpr const char* kCannotStoreReason =
    "holds text that a scenery file cannot store (it would be read back "
    "differently)";

// The name of the first field of `area` whose value a scenery file cannot
// hold so that it reads back the same ("Title", "Folder", ...), or empty.
std::string AreaStorageProblem(const AreaEntry& area);

// The base names of the files that a save of `name` leaves only when it is
// stopped half-way.
bool IsSaveLeftover(std::string_view fileName, std::string_view name);

}  // namespace sceneshifter
