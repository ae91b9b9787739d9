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

bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::string& error) {
  std::error_code ec;
  const fs::path p = HostPath(path);
  // Only a regular file: a folder fails, and a pipe or device would block
  // or never end.
  if (path.empty() || !fs::is_regular_file(p, ec)) {
    error = "not a file";
    return false;
  }
  std::ifstream in(p, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
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

bool FileOps::Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(HostPath(path), ec);
}

bool FileOps::WriteNewFile(const std::string& path, const std::string& bytes,
                           std::string& error) {
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
  if (!out) {
    error = std::string("cannot create a file in that folder (") +
            std::strerror(errno) + ")";
    return false;
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) {
    error = "writing the file failed (the disk may be full)";
    return false;
  }
  out.close();
  if (!out) {
    error = "closing the written file failed";
    return false;
  }
  return true;
}

bool FileOps::LinkOrCopy(const std::string& from, const std::string& to,
                         std::string& error) {
  std::error_code ec;
  fs::create_hard_link(HostPath(from), HostPath(to), ec);
  if (!ec) return true;
  ec.clear();
  fs::copy_file(HostPath(from), HostPath(to), ec);
  if (!ec) return true;
  error = ec.message();
  return false;
}

bool FileOps::Replace(const std::string& from, const std::string& to,
                      std::string& error) {
  std::error_code ec;
  fs::rename(HostPath(from), HostPath(to), ec);
  if (!ec) return true;
  error = ec.message();
  return false;
}

void FileOps::Remove(const std::string& path) {
  std::error_code ec;
  fs::remove(HostPath(path), ec);
}

FileOps& DefaultFileOps() {
  static FileOps ops;
  return ops;
}

}  // namespace sceneshifter
