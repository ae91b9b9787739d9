// SPDX-License-Identifier: MIT
#include "path_helpers.h"

#include <fstream>
#include <system_error>

#include "file_ops.h"

namespace sceneshifter {

bool FileExists(const std::string& path) {
  std::string copy = path;
  if (!copy.empty() && IsPathSeparator(copy.back())) copy.pop_back();
  if (copy.empty()) return false;
  const auto host = HostPath(copy);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) return false;
  std::ifstream in(host, std::ios::binary);
  return static_cast<bool>(in);
}

std::string FileNameOf(const std::string& path) {
  const auto last = path.find_last_of("\\/:");
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string FolderOf(const std::string& path) {
  const long keep = static_cast<long>(path.size()) -
                    static_cast<long>(FileNameOf(path).size()) - 1;
  return keep < 0 ? std::string() : path.substr(0, keep);
}

}  // namespace sceneshifter
