// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
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

// The lock file that every save of the scenery file `target` (a link
// already followed) holds: its name + ".lock", beside it. The scenery file
// itself is never locked, so the simulator may always read it, and the lock
// file is never removed, so a waiting save never locks a removed file.
std::string LockFileFor(const std::string& target);

// Holds the lock of a scenery file, so that a command can keep other saves
// out from its read to its own save.
class SceneryFileLock {
 public:
  // Takes the lock for saves of `path` (beside the file a link there leads
  // to), waiting a bounded time for another save to let go. Nothing is
  // taken, and true returned, when `path` is not an existing regular file.
  // False with `error` set (naming the file; "in use by another program"
  // when another save kept the lock).
  bool Acquire(const std::string& path, FileOps& ops, std::string& error);
  // The same for the file `target`, links already followed, whatever it is.
  bool AcquireFor(const std::string& target, FileOps& ops, std::string& error);
  // Whether this holds the lock file `lockPath`.
  bool Holds(const std::string& lockPath) const {
    return hold_ != nullptr && lockPath_ == lockPath;
  }

 private:
  std::unique_ptr<FileLock> hold_;
  std::string lockPath_;
};

// Writes `bytes` to `path` so that the file is always either its complete
// old text or the complete new one, and the new one survives a power cut.
// Under the file's lock (taken here unless `held` holds it): the old text is
// read; the new text goes to a new temporary file beside it, owner-only
// until written, then with the old file's owner, permissions and extended
// attributes, synced; a synced copy of the old text becomes `path` + ".bak";
// the file on disk is compared once more with what was read; and the
// temporary file is renamed over the file. Where a rename would change the
// file's identity (other hard links, an owner this process cannot give),
// the file is written in place after the backup. A symbolic link at `path`
// stays a link; the file it leads to is the one written. A character device
// or FIFO is written straight, never replaced. A failure leaves the file
// and the folder as they were. With `unchangedSince`, the old text must
// still be what that fingerprint describes, or nothing is written
// (`changedOnDisk`); a change made during the save refuses it too.
SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops = DefaultFileOps(),
                           const FileFingerprint* unchangedSince = nullptr,
                           const SceneryFileLock* held = nullptr);

// Whether a save checks the file on disk for changes made by other programs
// since it was read.
enum class SaveMode { CheckDisk, Overwrite };

// Writes `doc` to ConfigFile; FileChanged is cleared only after success.
// Refuses a table whose text would not read back as the same areas, and, in
// CheckDisk mode, a file that another program has changed since it was read
// (`changedOnDisk`).
SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops = DefaultFileOps(),
                        SaveMode mode = SaveMode::CheckDisk,
                        const SceneryFileLock* held = nullptr);

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

// Whether `fileName` is one of the names that a save of the file `name`
// gives its temporary files, left only when a save is stopped half-way.
bool IsSaveLeftover(std::string_view fileName, std::string_view name);

}  // namespace sceneshifter
