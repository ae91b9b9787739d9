// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
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

// What is found at a path, links followed.
enum class FileKind {
  Missing,
  Regular,
  Folder,
  Stream,  // a character device or a FIFO: written straight, never replaced
  Other,
};

// An exclusive hold on a lock file, let go when destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

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
  virtual FileKind KindOf(const std::string& path) = 0;
  // Takes the exclusive lock of the lock file at `lockPath`, creating it
  // when missing, waiting a bounded time for another holder to let go. Null
  // with `error` set when it cannot be had; `busy` is then true when another
  // holder kept it.
  virtual std::unique_ptr<FileLock> Lock(const std::string& lockPath,
                                         bool& busy, std::string& error) = 0;
  // False when the existing file at `path` may not be written: no write
  // permission, or marked read-only.
  virtual bool CanWrite(const std::string& path, std::string& error) = 0;
  // False when a new file renamed over `path` would not be the same file to
  // its other names or its owner: it has other hard links, or an owner or
  // group that this process cannot give a file.
  virtual bool RenameKeepsIdentity(const std::string& path) = 0;
  // Creates a new file, exclusively and readable by its owner only, named
  // `prefix` followed by an unpredictable part, writes `bytes`, gives it the
  // owner, group, permissions and extended attributes of `model` when
  // `model` is not empty, and syncs it to disk. On success `created` names
  // it; on failure nothing is left.
  virtual bool WriteTemporary(const std::string& prefix,
                              const std::string& bytes,
                              const std::string& model, std::string& created,
                              std::string& error) = 0;
  // Gives the existing file `path` a second name, `prefix` followed by an
  // unpredictable part, where its file system allows that. On success
  // `created` names it.
  virtual bool LinkTemporary(const std::string& prefix, const std::string& path,
                             std::string& created, std::string& error) = 0;
  // Overwrites the existing file at `path` with `bytes` and syncs it: the
  // same file, its links and owner kept.
  virtual bool WriteInPlace(const std::string& path, const std::string& bytes,
                            std::string& error) = 0;
  // Writes `bytes` to the device or FIFO at `path`; a FIFO that no program
  // reads is an error at once, never a wait.
  virtual bool WriteStream(const std::string& path, const std::string& bytes,
                           std::string& error) = 0;
  // Renames `from` to `to`, replacing `to` in one step when it exists.
  virtual bool Replace(const std::string& from, const std::string& to,
                       std::string& error) = 0;
  // Makes a rename inside `folder` survive a power cut.
  virtual bool SyncFolder(const std::string& folder, std::string& error) = 0;
  virtual void Remove(const std::string& path) = 0;
  // The names of the regular files in `folder` (links not followed).
  virtual std::vector<std::string> ListRegularFiles(
      const std::string& folder) = 0;
};

// The host's own file system.
FileOps& DefaultFileOps();

}  // namespace sceneshifter
