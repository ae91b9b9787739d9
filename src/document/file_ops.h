#pragma once

#include <filesystem>
#include <string>

namespace sceneshifter {

// A host path from its UTF-8 text, on every platform.
std::filesystem::path HostPath(const std::string& utf8);

// Reads a whole regular file; false with a reason when it cannot.
bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::string& error);

// The file-system steps of a save, behind an interface so that tests can
// make any one of them fail. Each returns false and sets `error` (a reason a
// user can read) when it fails.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual bool Exists(const std::string& path);
  // Creates `path` (which must not exist), writes `bytes` and flushes.
  virtual bool WriteNewFile(const std::string& path, const std::string& bytes,
                            std::string& error);
  // Makes `to` a second name or a copy of `from`; `to` must not exist.
  virtual bool LinkOrCopy(const std::string& from, const std::string& to,
                          std::string& error);
  // Renames `from` to `to`, replacing `to` in one step when it exists.
  virtual bool Replace(const std::string& from, const std::string& to,
                       std::string& error);
  virtual void Remove(const std::string& path);
};

FileOps& DefaultFileOps();

}  // namespace sceneshifter
