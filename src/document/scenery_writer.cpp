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
// cut) left in `folder`.
void RemoveLeftovers(FileOps& ops, const std::string& folder,
                     const std::string& name) {
  for (const std::string& entry : ops.ListFolder(folder))
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
  for (const std::string_view tail : {".sceneshifter-", ".bak.sceneshifter-"})
    if (fileName.size() > name.size() + tail.size() &&
        fileName.substr(0, name.size()) == name &&
        fileName.substr(name.size(), tail.size()) == tail)
      return true;
  return false;
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

SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops,
                           const FileFingerprint* unchangedSince) {
  SaveResult result;
  std::string why;
  std::string target;
  if (!ops.ResolveLinks(path, target, why)) {
    result.error = why + ". Nothing was changed";
    return result;
  }
  const std::string folder = HostFolder(target);
  const std::string backup = path + ".bak";
  const bool existing = ops.Exists(target);
  // The old text is read once: it is what the check compares and what the
  // backup keeps.
  std::string old;
  std::string readError;
  const bool oldRead = existing && ReadWholeFile(target, old, readError);
  if (unchangedSince &&
      !(oldRead ? FingerprintOf(target, old) : FileFingerprint{})
           .SameContent(*unchangedSince)) {
    result.changedOnDisk = true;
    result.error =
        "another program has changed the file since it was read. Nothing was "
        "changed";
    return result;
  }
  if (existing && !ops.CanWrite(target, why)) {
    result.error = why + ". Nothing was changed";
    return result;
  }

  std::string temp;
  if (!ops.WriteTemporary(target + ".sceneshifter-", bytes,
                          existing ? target : std::string(), temp, why)) {
    result.error = "the new text could not be written in the folder " +
                   (folder.empty() ? std::string(".") : folder) + " (" + why +
                   "). Nothing was changed";
    return result;
  }

  // The backup is a regular copy of the old text, ready under a name of its
  // own; it takes the backup's name only once the new text is in place, so
  // that a failed save leaves the earlier backup too.
  std::string staged;
  if (existing) {
    if (!oldRead)
      result.backupWarning = "no backup could be made (" + readError + ")";
    else if (!ops.WriteTemporary(backup + ".sceneshifter-", old, target, staged,
                                 why))
      result.backupWarning = "no backup could be made (" + why + ")";
  }

  if (!ops.Replace(temp, target, why)) {
    ops.Remove(temp);
    if (!staged.empty()) ops.Remove(staged);
    result.error = "the new text could not take the file's place (" + why +
                   "). Nothing was changed";
    return result;
  }
  result.ok = true;
  if (oldRead) {
    result.replacedExisting = true;
    result.replacedText = std::move(old);
  }
  if (!staged.empty() && !ops.Replace(staged, backup, why)) {
    ops.Remove(staged);
    result.backupWarning = "no backup could be made (" + why + ")";
  }
  // What earlier saves left when they were stopped half-way goes only now,
  // so that a failed save leaves the folder exactly as it found it.
  RemoveLeftovers(ops, folder, HostFileName(target));
  if (target != path)
    RemoveLeftovers(ops, HostFolder(path), HostFileName(path));
  if (!ops.SyncFolder(folder, why))
    result.syncWarning = "the folder could not be synced to disk (" + why +
                         "), so the new text may not survive a power cut";
  const std::string backupFolder = HostFolder(backup);
  if (!staged.empty() && backupFolder != folder)
    ops.SyncFolder(backupFolder, why);
  return result;
}

SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops, SaveMode mode) {
  SaveResult result;
  const std::string bytes = WriteSceneryBytes(doc);
  result.error = StorageProblem(doc, bytes);
  if (!result.error.empty()) return result;
  const bool check = mode == SaveMode::CheckDisk && !doc.DiskPath.empty() &&
                     doc.DiskPath == doc.ConfigFile;
  result = SaveSceneryFile(doc.ConfigFile, bytes, ops,
                           check ? &doc.DiskFingerprint : nullptr);
  if (result.ok) {
    doc.FileChanged = false;
    doc.DiskPath = doc.ConfigFile;
    doc.DiskFingerprint = FingerprintOf(doc.ConfigFile, bytes);
  }
  return result;
}

}  // namespace sceneshifter
