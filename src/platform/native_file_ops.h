// SPDX-License-Identifier: MIT
#pragma once

#include "file_ops.h"

namespace sceneshifter {

// The save's file-system steps on the host: POSIX calls, or the Win32 API
// on Windows.
class NativeFileOps : public FileOps {
 public:
  // Without syncing the save is as atomic but not durable: only for
  // measuring what the syncing costs.
  explicit NativeFileOps(bool syncToDisk = true) : sync_(syncToDisk) {}
  bool ResolveLinks(const std::string& path, std::string& target,
                    std::string& error) override;
  bool Exists(const std::string& path) override;
  bool CanWrite(const std::string& path, std::string& error) override;
  bool WriteTemporary(const std::string& prefix, const std::string& bytes,
                      const std::string& model, std::string& created,
                      std::string& error) override;
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override;
  bool SyncFolder(const std::string& folder, std::string& error) override;
  void Remove(const std::string& path) override;
  std::vector<std::string> ListFolder(const std::string& folder) override;

 private:
  bool sync_;
};

}  // namespace sceneshifter
