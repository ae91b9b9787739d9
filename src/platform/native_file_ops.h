// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "file_ops.h"

namespace sceneshifter {

// The save's file-system steps on the host: POSIX calls, or the Win32 API
// on Windows.
class NativeFileOps : public FileOps {
 public:
  // Without syncing the save is as atomic but not durable: only for
  // measuring what the syncing costs.
  // `lockWait` is how long a save waits for another one to let go of the
  // file before it gives up.
  explicit NativeFileOps(
      bool syncToDisk = true,
      std::chrono::milliseconds lockWait = std::chrono::seconds(5))
      : sync_(syncToDisk), lockWait_(lockWait) {}
  bool ResolveLinks(const std::string& path, std::string& target,
                    std::string& error) override;
  bool Exists(const std::string& path) override;
  FileKind KindOf(const std::string& path) override;
  std::unique_ptr<FileLock> Lock(const std::string& lockPath, bool& busy,
                                 std::string& error) override;
  bool CanWrite(const std::string& path, std::string& error) override;
  bool RenameKeepsIdentity(const std::string& path) override;
  bool WriteTemporary(const std::string& prefix, const std::string& bytes,
                      const std::string& model, std::string& created,
                      std::string& error) override;
  bool LinkTemporary(const std::string& prefix, const std::string& path,
                     std::string& created, std::string& error) override;
  bool WriteInPlace(const std::string& path, const std::string& bytes,
                    std::string& error) override;
  bool WriteStream(const std::string& path, const std::string& bytes,
                   std::string& error) override;
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override;
  bool SyncFolder(const std::string& folder, std::string& error) override;
  void Remove(const std::string& path) override;
  std::vector<std::string> ListRegularFiles(const std::string& folder) override;

 private:
  bool sync_;
  std::chrono::milliseconds lockWait_;
};

}  // namespace sceneshifter
