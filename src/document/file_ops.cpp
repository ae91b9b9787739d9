// SPDX-License-Identifier: MIT
#include "file_ops.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "code_page.h"

namespace sceneshifter {
namespace fs = std::filesystem;

fs::path HostPath(const std::string& utf8) {
#ifdef _WIN32
  // Names are UTF-16 there; text that is not UTF-8 gets U+FFFD, where the
  // library's own conversion would throw.
  const std::u16string wide = Utf16FromUtf8(utf8);
  return fs::path(std::wstring(wide.begin(), wide.end()));
#else
  // The bytes as they are: a POSIX name need not be UTF-8.
  return fs::path(utf8);
#endif
}

std::string Utf8Path(const fs::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::string& error) {
  std::error_code ec;
  if (path.empty()) {
    error = "no file name";
    return false;
  }
  const fs::path p = HostPath(path);
  // Only a regular file: a folder fails, and a pipe or device would block
  // or never end.
  const fs::file_status status = fs::status(p, ec);
  if (ec || !fs::is_regular_file(status)) {
    if (status.type() == fs::file_type::not_found)
      error = "there is no such file";
    else if (fs::is_directory(status))
      error = "it is a folder, not a file";
    else if (ec)
      error = ec.message();
    else
      error = "it is not a regular file";
    return false;
  }
  errno = 0;
  std::ifstream in(p, std::ios::binary);
  if (!in) {
    error = errno ? std::strerror(errno) : "it cannot be opened";
    return false;
  }
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0) {
    error = "cannot tell the file's size";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  in.read(bytes.data(), size);
  if (in.gcount() != size) {
    error = "the file could not be read to its end";
    return false;
  }
  return true;
}

FileFingerprint FingerprintOf(const std::string& path, std::string_view bytes) {
  FileFingerprint fp;
  fp.exists = true;
  fp.size = bytes.size();
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  fp.hash = hash;
  std::error_code ec;
  const auto time = fs::last_write_time(HostPath(path), ec);
  if (!ec) fp.modified = time.time_since_epoch().count();
  return fp;
}

FileFingerprint CurrentFingerprint(const std::string& path) {
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) return {};
  return FingerprintOf(path, bytes);
}

}  // namespace sceneshifter
