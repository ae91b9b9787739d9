// SPDX-License-Identifier: MIT
#include "native_file_ops.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sceneshifter {
namespace fs = std::filesystem;
namespace {

// Sixteen hex digits that another program cannot guess in advance.
std::string RandomPart() {
  static std::mt19937_64 engine = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }();
  static const char kHex[] = "0123456789abcdef";
  std::uint64_t n = engine();
  std::string part(16, '0');
  for (char& c : part) {
    c = kHex[n & 15];
    n >>= 4;
  }
  return part;
}

#ifdef _WIN32
std::string WindowsError(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() &&
         (message.back() == L'\r' || message.back() == L'\n' ||
          message.back() == L'.' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) return "Windows error " + std::to_string(code);
  return Utf8Path(fs::path(message));
}
#endif

}  // namespace

bool NativeFileOps::ResolveLinks(const std::string& path, std::string& target,
                                 std::string& error) {
  fs::path current = HostPath(path);
  // As many links as the host itself follows before it gives up.
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(current, ec);
    if (ec || status.type() != fs::file_type::symlink) {
      target = Utf8Path(current);
      return true;
    }
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) {
      error = "the link " + Utf8Path(current) + " cannot be read (" +
              ec.message() + ")";
      return false;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = "the links starting at " + path + " lead round in a circle";
  return false;
}

bool NativeFileOps::Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(HostPath(path), ec);
}

bool NativeFileOps::CanWrite(const std::string& path, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::status(HostPath(path), ec);
  if (ec) return true;  // nothing there yet: the new file will be created
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(HostPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY)) {
    error = "the file is marked read-only";
    return false;
  }
#else
  // A file without any write permission is meant to stay as it is, even
  // for a user (such as root) whom the system would let write it.
  if ((status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                               fs::perms::others_write)) == fs::perms::none) {
    error = "the file is read-only";
    return false;
  }
  if (access(HostPath(path).c_str(), W_OK) != 0) {
    error = std::strerror(errno);
    return false;
  }
#endif
  return true;
}

bool NativeFileOps::WriteTemporary(const std::string& prefix,
                                   const std::string& bytes,
                                   const std::string& model,
                                   std::string& created, std::string& error) {
  created.clear();
#ifdef _WIN32
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string name;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix + RandomPart() + ".tmp";
    file = CreateFileW(HostPath(name).c_str(), GENERIC_WRITE, 0, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
      break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    error =
        "no file can be created there (" + WindowsError(GetLastError()) + ")";
    return false;
  }
  (void)model;  // a new file takes the folder's inherited permissions
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(
        std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) &&
         written > 0;
    done += written;
  }
  if (!ok) error = "writing failed (" + WindowsError(GetLastError()) + ")";
  if (ok && sync_ && !FlushFileBuffers(file)) {
    ok = false;
    error = "the text could not be synced to disk (" +
            WindowsError(GetLastError()) + ")";
  }
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = "closing the written file failed";
  }
#else
  int fd = -1;
  std::string name;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = prefix + RandomPart() + ".tmp";
    // O_EXCL refuses any existing name, a planted link included.
    fd = open(HostPath(name).c_str(),
              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) break;
  }
  if (fd < 0) {
    error = std::string("no file can be created there (") +
            std::strerror(errno) + ")";
    return false;
  }
  bool ok = true;
  struct stat old {};
  if (!model.empty() && stat(HostPath(model).c_str(), &old) == 0) {
    // The owner first: changing it may clear the set-id bits again.
    // An owner that this user may not give is passed over.
    if (fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
    if (fchmod(fd, old.st_mode & 07777) != 0) {
      ok = false;
      error = std::string("the file's permissions could not be kept (") +
              std::strerror(errno) + ")";
    }
  }
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      error = std::string("writing failed (") +
              (n < 0 ? std::strerror(errno) : "nothing was written") + ")";
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (ok && sync_ && fsync(fd) != 0) {
    ok = false;
    error = std::string("the text could not be synced to disk (") +
            std::strerror(errno) + ")";
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    error = std::string("closing the written file failed (") +
            std::strerror(errno) + ")";
  }
#endif
  if (!ok) {
    Remove(name);
    return false;
  }
  created = name;
  return true;
}

bool NativeFileOps::Replace(const std::string& from, const std::string& to,
                            std::string& error) {
#ifdef _WIN32
  if (MoveFileExW(HostPath(from).c_str(), HostPath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  error = WindowsError(GetLastError());
  return false;
#else
  if (rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0) return true;
  error = std::strerror(errno);
  return false;
#endif
}

bool NativeFileOps::SyncFolder(const std::string& folder, std::string& error) {
#ifdef _WIN32
  // MOVEFILE_WRITE_THROUGH has already made the rename durable.
  (void)folder;
  (void)error;
  return true;
#else
  if (!sync_) return true;
  const int fd = open(HostPath(folder.empty() ? "." : folder).c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool ok = fsync(fd) == 0;
  if (!ok) error = std::strerror(errno);
  close(fd);
  return ok;
#endif
}

void NativeFileOps::Remove(const std::string& path) {
  std::error_code ec;
  fs::remove(HostPath(path), ec);
}

std::vector<std::string> NativeFileOps::ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(HostPath(folder.empty() ? "." : folder), ec),
       end;
       !ec && it != end; it.increment(ec))
    names.push_back(Utf8Path(it->path().filename()));
  return names;
}

FileOps& DefaultFileOps() {
  static NativeFileOps ops;
  return ops;
}

}  // namespace sceneshifter
