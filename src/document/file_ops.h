// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sceneshifter {

// A host path from its UTF-8 text, on every platform.
std::filesystem::path HostPath(const std::string& utf8);
// The UTF-8 text of a host path.
std::string Utf8Path(const std::filesystem::path& path);

// Reads a whole regular file; false with a reason when it cannot.
bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::string& error);

// What a file held when it was read or written, to tell whether another
// program has changed it since.
struct FileFingerprint {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // the file clock's ticks
  std::uint64_t hash = 0;     // FNV-1a of the bytes

  // The same bytes (a touch that changes only the time is no change).
  bool SameContent(const FileFingerprint& other) const {
    return exists == other.exists && size == other.size && hash == other.hash;
  }
};

// The fingerprint of `bytes` as the content of the file at `path`, whose
// modification time is taken from the file system.
FileFingerprint FingerprintOf(const std::string& path, std::string_view bytes);
// Reads the file at `path` now; `exists` is false when it cannot be read.
FileFingerprint CurrentFingerprint(const std::string& path);

// The file-system steps of a save, behind an interface so that tests can
// make any one of them fail. Each returns false and sets `error` (a reason a
// user can read) when it fails. Paths are UTF-8.
class FileOps {
 public:
  virtual ~FileOps() = default;
  // The file that writing `path` should change: `path` itself, or the file
  // a symbolic link at `path` finally leads to.
  virtual bool ResolveLinks(const std::string& path, std::string& target,
                            std::string& error) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // False when the existing file at `path` may not be written: no write
  // permission, or marked read-only.
  virtual bool CanWrite(const std::string& path, std::string& error) = 0;
  // Creates a new file, exclusively, named `prefix` followed by an
  // unpredictable part, gives it the permissions (and, where allowed, the
  // owner) of `model` when `model` is not empty, writes `bytes` and syncs
  // them to disk. On success `created` names it; on failure nothing is left.
  virtual bool WriteTemporary(const std::string& prefix,
                              const std::string& bytes,
                              const std::string& model, std::string& created,
                              std::string& error) = 0;
  // Renames `from` to `to`, replacing `to` in one step when it exists.
  virtual bool Replace(const std::string& from, const std::string& to,
                       std::string& error) = 0;
  // Makes a rename inside `folder` survive a power cut.
  virtual bool SyncFolder(const std::string& folder, std::string& error) = 0;
  virtual void Remove(const std::string& path) = 0;
  // The names of the entries of `folder`.
  virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;
};

// The host's own file system.
FileOps& DefaultFileOps();

}  // namespace sceneshifter
