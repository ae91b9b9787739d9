// SPDX-License-Identifier: MIT
#include "scenery_writer.h"

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "scenery_reader.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

// Counts the bytes of the output, so that it is built in one allocation
// however long its lines are.
struct ByteCounter {
  std::size_t size = 0;
  ByteCounter& append(std::string_view text) {
    size += text.size();
    return *this;
  }
};

template <typename Out>
void Line(Out& out, std::string_view a, std::string_view b = {}) {
  out.append(a).append(b).append("\r\n");
}

template <typename Out>
void WriteDocument(const SceneryDocument& doc, Out& out) {
  for (const std::string& header : doc.HeaderLines) {
    if (ContainsNoCase(header, "[Area")) break;
    Line(out, header);
  }
  char layer[8];
  for (int i = 0; i <= doc.LastArea; ++i) {
    const AreaEntry& e = doc.Areas[i];
    out.append("[Area.").append(e.Number).append("]\r\n");
    Line(out, "Title=", e.Title);
    Line(out, e.PathKey, e.PathValue);
    if (!e.TextureLine.empty()) Line(out, e.TextureLine);
    Line(out, "Active=", e.Active);
    Line(out, "Required=", e.Required);
    const auto end = std::to_chars(layer, layer + sizeof layer, e.Layer).ptr;
    Line(out, "Layer=", std::string_view(layer, end - layer));
    if (!e.Exclude.empty()) Line(out, "Exclude=", e.Exclude);
    for (int k = 0; k < 10; ++k) {
      if (e.Flatten[k].empty()) continue;
      const char key[] = {
          'F', 'l', 'a', 't', 't', 'e', 'n', '.', static_cast<char>('0' + k),
          '='};
      Line(out, std::string_view(key, sizeof key), e.Flatten[k]);
    }
    for (const std::string& extra : e.ExtraLines) Line(out, extra);
    Line(out, "");
  }
}

// The name and the folder of a file as the host splits its path (unlike
// path_helpers.h, which splits the simulator's paths at "\" and "/" alike).
std::string HostFileName(const std::string& path) {
  return Utf8Path(HostPath(path).filename());
}
std::string HostFolder(const std::string& path) {
  return Utf8Path(HostPath(path).parent_path());
}

// Removes what saves of `name` stopped half-way (a crash, a kill, a power
// cut) left in `folder`. Only under the file's lock: no live save of it
// holds such a file then.
void RemoveLeftovers(FileOps& ops, const std::string& folder,
                     const std::string& name) {
  for (const std::string& entry : ops.ListRegularFiles(folder))
    if (IsSaveLeftover(entry, name))
      ops.Remove(Utf8Path(HostPath(folder) / HostPath(entry)));
}

// The non-empty flatten values in order: what a read gives back of them.
std::vector<std::string_view> FlattenValues(const AreaEntry& area) {
  std::vector<std::string_view> values;
  for (const std::string& f : area.Flatten)
    if (!f.empty()) values.push_back(f);
  return values;
}

// The first field in which `read` differs from `held`, or null.
const char* DifferingField(const AreaEntry& held, const AreaEntry& read) {
  if (held.Title != read.Title) return "Title";
  if (held.PathKey != read.PathKey || held.PathValue != read.PathValue)
    return "Folder";
  if (held.TextureLine != read.TextureLine) return "Texture line";
  if (held.Active != read.Active) return "Active";
  if (held.Required != read.Required) return "Required";
  if (held.Exclude != read.Exclude) return "Exclude";
  if (FlattenValues(held) != FlattenValues(read)) return "Flatten";
  if (held.ExtraLines != read.ExtraLines) return "Other lines";
  return nullptr;
}

}  // namespace

std::string WriteSceneryBytes(const SceneryDocument& doc) {
  ByteCounter counter;
  WriteDocument(doc, counter);
  std::string out;
  out.reserve(counter.size);
  WriteDocument(doc, out);
  return out;
}

bool IsSaveLeftover(std::string_view fileName, std::string_view name) {
  // Exactly what WriteTemporary makes: the prefix, 16 hex digits, ".tmp".
  constexpr std::size_t kRandomDigits = 16;
  constexpr std::string_view kEnd = ".tmp";
  if (fileName.substr(0, name.size()) != name) return false;
  std::string_view rest = fileName.substr(name.size());
  for (const std::string_view tail : {".sceneshifter-", ".bak.sceneshifter-"}) {
    if (rest.size() != tail.size() + kRandomDigits + kEnd.size() ||
        rest.substr(0, tail.size()) != tail || !rest.ends_with(kEnd))
      continue;
    const std::string_view digits = rest.substr(tail.size(), kRandomDigits);
    return std::all_of(digits.begin(), digits.end(), [](char c) {
      return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
  }
  return false;
}

std::string LockFileFor(const std::string& target) { return target + ".lock"; }

bool SceneryFileLock::Acquire(const std::string& path, FileOps& ops,
                              std::string& error) {
  std::string target;
  if (!ops.ResolveLinks(path, target, error)) return false;
  // A name that holds no file yet gets no lock file beside it: the read
  // that follows fails anyway.
  if (ops.KindOf(target) != FileKind::Regular) return true;
  return AcquireFor(target, ops, error);
}

bool SceneryFileLock::AcquireFor(const std::string& target, FileOps& ops,
                                 std::string& error) {
  const std::string lockPath = LockFileFor(target);
  if (Holds(lockPath)) return true;
  bool busy = false;
  std::string why;
  hold_ = ops.Lock(lockPath, busy, why);
  if (!hold_) {
    lockPath_.clear();
    error = busy ? "the file " + target + " is in use by another program (" +
                       why + ")"
                 : "the file " + target + " cannot be locked for saving (" +
                       why + ")";
    return false;
  }
  lockPath_ = lockPath;
  return true;
}

std::string StorageProblem(const SceneryDocument& doc,
                           const std::string& bytes) {
  const int count = std::max(0, doc.AreaCount());
  if (count == 0)
    return "there are no areas: a scenery file without areas could not be "
           "opened again. Nothing was saved";
  const ReadResult read = ReadSceneryBytes(bytes);
  const int readCount = read.ok ? static_cast<int>(read.LastArea) + 1 : 0;
  for (int i = 0; i < count; ++i) {
    const char* field =
        i < readCount ? DifferingField(doc.Areas[i], read.Areas[i]) : "Title";
    if (i + 1 == count && !field && readCount != count) field = "values";
    if (field)
      return "the " + std::string(field) + " of area " + std::to_string(i + 1) +
             " " + kCannotStoreReason + ". Nothing was saved";
  }
  return {};
}

std::string AreaStorageProblem(const AreaEntry& area) {
  SceneryDocument one;
  one.HeaderLines.assign(1, std::string());
  one.Areas.assign(1, area);
  one.Areas[0].Number = "001";
  one.Areas[0].Layer = 1;
  one.LastArea = 0;
  const ReadResult read = ReadSceneryBytes(WriteSceneryBytes(one));
  if (!read.ok || read.LastArea < 0) return "Title";
  // A line taken for the start of another area is missing from this one.
  const char* field = DifferingField(one.Areas[0], read.Areas[0]);
  if (field) return field;
  return read.LastArea != 0 ? "Title" : "";
}

namespace {

// Writes to a character device or a FIFO: there is nothing to back up, and
// the thing itself must stay.
SaveResult WriteToStream(const std::string& target, const std::string& bytes,
                         FileOps& ops) {
  SaveResult result;
  std::string why;
  if (ops.WriteStream(target, bytes, why))
    result.ok = true;
  else
    result.error =
        "the text could not be written to " + target + " (" + why + ")";
  return result;
}

bool SameFile(const FileFingerprint& a, const FileFingerprint& b) {
  return a.SameContent(b) && a.modified == b.modified;
}

}  // namespace

SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops, const FileFingerprint* unchangedSince,
                           const SceneryFileLock* held) {
  SaveResult result;
  std::string why;
  std::string target;
  if (!ops.ResolveLinks(path, target, why)) {
    result.error = why + ". Nothing was changed";
    return result;
  }
  const FileKind kind = ops.KindOf(target);
  switch (kind) {
    case FileKind::Stream:
      return WriteToStream(target, bytes, ops);
    case FileKind::Folder:
      result.error = target + " is a folder, not a file. Nothing was changed";
      return result;
    case FileKind::Other:
      result.error = target +
                     " is neither a regular file, a device nor a FIFO. "
                     "Nothing was changed";
      return result;
    case FileKind::Missing:
    case FileKind::Regular:
      break;
  }
  // A file that may not be written is refused before a lock file is made.
  if (kind == FileKind::Regular && !ops.CanWrite(target, why)) {
    result.error = why + ". Nothing was changed";
    return result;
  }
  SceneryFileLock own;
  if (!(held && held->Holds(LockFileFor(target))) &&
      !own.AcquireFor(target, ops, why)) {
    result.error = why + ". Nothing was changed";
    return result;
  }

  const std::string folder = HostFolder(target);
  const std::string backup = path + ".bak";
  const bool existing = kind == FileKind::Regular;
  // The old text is read once: it is what the checks compare and what the
  // backup keeps.
  std::string old;
  std::string readError;
  const bool oldRead = existing && ReadWholeFile(target, old, readError);
  const FileFingerprint read =
      oldRead ? FingerprintOf(target, old) : FileFingerprint{};
  const char* const kChanged =
      "another program has changed the file since it was read. Nothing was "
      "changed";
  if (unchangedSince && !read.SameContent(*unchangedSince)) {
    result.changedOnDisk = true;
    result.error = kChanged;
    return result;
  }
  // Other names of the file would keep the old text, or the file would
  // change hands: then it is written in place, once its backup is safe.
  const bool inPlace = existing && !ops.RenameKeepsIdentity(target);

  std::string temp;
  if (!inPlace &&
      !ops.WriteTemporary(target + ".sceneshifter-", bytes,
                          existing ? target : std::string(), temp, why)) {
    result.error = "the new text could not be written in the folder " +
                   (folder.empty() ? std::string(".") : folder) + " (" + why +
                   "). Nothing was changed";
    return result;
  }
  // Where the file is replaced, the old file itself becomes the backup
  // under a second name: nothing to copy or sync, owner and attributes
  // kept. Where it is written over, the backup must be a copy.
  std::string staged;
  if (existing) {
    if (!oldRead)
      result.backupWarning = "no backup could be made (" + readError + ")";
    else if (!(!inPlace && ops.LinkTemporary(backup + ".sceneshifter-", target,
                                             staged, why)) &&
             !ops.WriteTemporary(backup + ".sceneshifter-", old, target, staged,
                                 why))
      result.backupWarning = "no backup could be made (" + why + ")";
  }
  auto abandon = [&] {
    if (!temp.empty()) ops.Remove(temp);
    if (!staged.empty()) ops.Remove(staged);
  };
  if (inPlace && staged.empty()) {
    result.error = result.backupWarning +
                   ", and this file is only written in place (it has other "
                   "names, or an owner a new file could not be given) once "
                   "its backup is safe. Nothing was changed";
    result.backupWarning.clear();
    return result;
  }
  // Another program (one that takes no lock) may have written it meanwhile.
  if (!SameFile(CurrentFingerprint(target), read)) {
    abandon();
    result.changedOnDisk = true;
    result.error = kChanged;
    result.backupWarning.clear();
    return result;
  }

  // The backup takes its name first, so that a stop at any point leaves
  // every text under a name: the file and its backup are old and previous,
  // old and old, or new and old.
  const std::string backupFolder = HostFolder(backup);
  if (!staged.empty()) {
    if (!ops.Replace(staged, backup, why)) {
      ops.Remove(staged);
      staged.clear();
      if (inPlace) {
        abandon();
        result.error = "no backup could be made (" + why +
                       "), and this file is only written in place once its "
                       "backup is safe. Nothing was changed";
        return result;
      }
      result.backupWarning = "no backup could be made (" + why + ")";
    } else if (inPlace && !ops.SyncFolder(backupFolder, why)) {
      // Writing over the file is not ordered with the rename as two
      // renames are in a file system's journal: the backup must be on disk.
      result.error = "the backup " + backup + " could not be synced to disk (" +
                     why + "). The file was not changed";
      return result;
    }
  }

  if (inPlace) {
    if (!ops.WriteInPlace(target, bytes, why)) {
      result.error = "the file could not be written in place (" + why +
                     "); its text from before this save is in " + backup;
      return result;
    }
  } else if (!ops.Replace(temp, target, why)) {
    ops.Remove(temp);
    result.error = "the new text could not take the file's place (" + why +
                   "). The file was not changed" +
                   (staged.empty() ? std::string()
                                   : "; " + backup + " now holds its text");
    return result;
  }
  result.ok = true;
  if (oldRead) {
    result.replacedExisting = true;
    result.replacedText = std::move(old);
  }
  // What earlier saves left when they were stopped half-way goes only now,
  // so that a failed save leaves the folder exactly as it found it.
  RemoveLeftovers(ops, folder, HostFileName(target));
  if (target != path)
    RemoveLeftovers(ops, HostFolder(path), HostFileName(path));
  // One sync makes both renames durable: a journal keeps them in order.
  if (!inPlace && !ops.SyncFolder(folder, why))
    result.syncWarning = "the folder could not be synced to disk (" + why +
                         "), so the new text may not survive a power cut";
  if (!inPlace && !staged.empty() && backupFolder != folder)
    ops.SyncFolder(backupFolder, why);
  return result;
}

SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops, SaveMode mode,
                        const SceneryFileLock* held) {
  SaveResult result;
  const std::string bytes = WriteSceneryBytes(doc);
  result.error = StorageProblem(doc, bytes);
  if (!result.error.empty()) return result;
  const bool check = mode == SaveMode::CheckDisk && !doc.DiskPath.empty() &&
                     doc.DiskPath == doc.ConfigFile;
  result = SaveSceneryFile(doc.ConfigFile, bytes, ops,
                           check ? &doc.DiskFingerprint : nullptr, held);
  if (result.ok) {
    doc.FileChanged = false;
    doc.DiskPath = doc.ConfigFile;
    doc.DiskFingerprint = FingerprintOf(doc.ConfigFile, bytes);
  }
  return result;
}

}  // namespace sceneshifter
