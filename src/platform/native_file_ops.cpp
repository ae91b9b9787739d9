// SPDX-License-Identifier: MIT
#include "native_file_ops.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
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

// How often a save that waits for the lock tries again.
constexpr std::chrono::milliseconds kLockRetry(20);

std::string LockBusyText(const std::string& lockPath,
                         std::chrono::milliseconds waited) {
  return "its lock file " + lockPath + " stayed taken for " +
         std::to_string(waited.count()) + " ms";
}

#ifdef _WIN32
class WindowsLock : public FileLock {
 public:
  explicit WindowsLock(HANDLE handle) : handle_(handle) {}
  ~WindowsLock() override { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

// Writes all of `bytes` to `file`; false with `error` set.
bool WriteAll(HANDLE file, const std::string& bytes, std::string& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(
        std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0) {
      error = "writing failed (" + WindowsError(GetLastError()) + ")";
      return false;
    }
    done += written;
  }
  return true;
}
#else
class PosixLock : public FileLock {
 public:
  explicit PosixLock(int fd) : fd_(fd) {}
  ~PosixLock() override { close(fd_); }

 private:
  int fd_;
};

std::string Reason(const char* what) {
  return std::string(what) + " (" + std::strerror(errno) + ")";
}

// Writes all of `bytes` to `fd` from where it stands; false with `error`.
bool WriteAll(int fd, const std::string& bytes, std::string& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = std::string("writing failed (") +
              (n < 0 ? std::strerror(errno) : "nothing was written") + ")";
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Gives the new file at `fd` the extended attributes of `model` (POSIX ACLs
// among them), and takes off an access ACL it inherited that `model` lacks.
// A file system without them is passed over.
void CopyExtendedAttributes(const std::string& model, int fd) {
#ifdef __linux__
  const int source = open(HostPath(model).c_str(),
                          O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (source < 0) return;
  std::string names;
  ssize_t size = flistxattr(source, nullptr, 0);
  if (size > 0) {
    names.resize(static_cast<std::size_t>(size));
    size = flistxattr(source, names.data(), names.size());
    names.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  }
  constexpr const char* kAccessAcl = "system.posix_acl_access";
  bool hasAcl = false;
  for (std::size_t at = 0; at < names.size();) {
    const std::string name = names.c_str() + at;
    at += name.size() + 1;
    if (name.empty()) continue;
    hasAcl = hasAcl || name == kAccessAcl;
    const ssize_t length = fgetxattr(source, name.c_str(), nullptr, 0);
    if (length < 0) continue;
    std::string value(static_cast<std::size_t>(length), '\0');
    const ssize_t got =
        fgetxattr(source, name.c_str(), value.data(), value.size());
    if (got >= 0)
      fsetxattr(fd, name.c_str(), value.data(), static_cast<std::size_t>(got),
                0);
  }
  if (!hasAcl) fremovexattr(fd, kAccessAcl);
  close(source);
#else
  (void)model;
  (void)fd;
#endif
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

FileKind NativeFileOps::KindOf(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(HostPath(path), ec);
  switch (status.type()) {
    case fs::file_type::not_found:
      return FileKind::Missing;
    case fs::file_type::regular:
      return FileKind::Regular;
    case fs::file_type::directory:
      return FileKind::Folder;
    case fs::file_type::character:
    case fs::file_type::fifo:
      return FileKind::Stream;
    default:
      return ec ? FileKind::Missing : FileKind::Other;
  }
}

std::unique_ptr<FileLock> NativeFileOps::Lock(const std::string& lockPath,
                                              bool& busy, std::string& error) {
  busy = false;
  const auto deadline = std::chrono::steady_clock::now() + lockWait_;
#ifdef _WIN32
  // Others may read, write and even delete it while it is held: only the
  // byte lock counts.
  const HANDLE file =
      CreateFileW(HostPath(lockPath).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "its lock file " + lockPath + " cannot be opened (" +
            WindowsError(GetLastError()) + ")";
    return nullptr;
  }
  for (;;) {
    OVERLAPPED at{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                   1, 0, &at))
      return std::make_unique<WindowsLock>(file);
    const DWORD code = GetLastError();
    if (code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING) {
      error = "its lock file " + lockPath + " cannot be locked (" +
              WindowsError(code) + ")";
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      busy = true;
      error = LockBusyText(lockPath, lockWait_);
      break;
    }
    std::this_thread::sleep_for(kLockRetry);
  }
  CloseHandle(file);
  return nullptr;
#else
  // Read-only, so that a lock file made by another user still serves; no
  // link followed, and a FIFO planted there does not block the open.
  const int fd =
      open(HostPath(lockPath).c_str(),
           O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = Reason(("its lock file " + lockPath + " cannot be opened").c_str());
    return nullptr;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "its lock file " + lockPath + " is not a regular file";
    close(fd);
    return nullptr;
  }
  // Readable by everyone whatever the umask, so that every user who may
  // save the file can take its lock.
  if (st.st_uid == geteuid() && (st.st_mode & 0444) != 0444)
    fchmod(fd, (st.st_mode & 07777) | 0444);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
      return std::make_unique<PosixLock>(fd);
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      error =
          Reason(("its lock file " + lockPath + " cannot be locked").c_str());
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      busy = true;
      error = LockBusyText(lockPath, lockWait_);
      break;
    }
    std::this_thread::sleep_for(kLockRetry);
  }
  close(fd);
  return nullptr;
#endif
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

bool NativeFileOps::RenameKeepsIdentity(const std::string& path) {
#ifdef _WIN32
  const HANDLE file =
      CreateFileW(HostPath(path).c_str(), FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool linked =
      GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1;
  CloseHandle(file);
  return !linked;
#else
  struct stat st {};
  if (stat(HostPath(path).c_str(), &st) != 0) return true;
  if (st.st_nlink > 1) return false;
  if (geteuid() == 0) return true;  // may give any owner and group
  if (st.st_uid != geteuid()) return false;
  if (st.st_gid == getegid()) return true;
  std::vector<gid_t> groups(
      static_cast<std::size_t>(std::max(0, getgroups(0, nullptr))));
  const int count = getgroups(static_cast<int>(groups.size()), groups.data());
  return count > 0 && std::find(groups.begin(), groups.begin() + count,
                                st.st_gid) != groups.begin() + count;
#endif
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
  bool ok = WriteAll(file, bytes, error);
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
    // O_EXCL refuses any existing name, a planted link included; the owner
    // alone may open it until it is complete.
    fd = open(HostPath(name).c_str(),
              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) break;
  }
  if (fd < 0) {
    error = Reason("no file can be created there");
    return false;
  }
  bool ok = WriteAll(fd, bytes, error);
  struct stat old {};
  if (ok && !model.empty() && stat(HostPath(model).c_str(), &old) == 0) {
    // The owner first: changing it may clear the set-id bits again. An
    // owner that this user may not give is passed over (the save writes
    // such a file in place instead).
    if (fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
    CopyExtendedAttributes(model, fd);
    // The mode last: it sets the ACL's mask to the model's group bits.
    if (fchmod(fd, old.st_mode & 07777) != 0) {
      ok = false;
      error = Reason("the file's permissions could not be kept");
    }
  }
  if (ok && sync_ && fsync(fd) != 0) {
    ok = false;
    error = Reason("the text could not be synced to disk");
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    error = Reason("closing the written file failed");
  }
#endif
  if (!ok) {
    Remove(name);
    return false;
  }
  created = name;
  return true;
}

bool NativeFileOps::LinkTemporary(const std::string& prefix,
                                  const std::string& path, std::string& created,
                                  std::string& error) {
  created.clear();
#ifdef _WIN32
  // A second name of a file that another program holds open can be neither
  // renamed nor removed there: the backup is always a copy.
  (void)prefix;
  (void)path;
  error = "not used on Windows";
  return false;
#else
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = prefix + RandomPart() + ".tmp";
    if (link(HostPath(path).c_str(), HostPath(name).c_str()) == 0) {
      created = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  error = std::strerror(errno);
  return false;
#endif
}

bool NativeFileOps::WriteInPlace(const std::string& path,
                                 const std::string& bytes, std::string& error) {
#ifdef _WIN32
  const HANDLE file =
      CreateFileW(HostPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "it cannot be opened (" + WindowsError(GetLastError()) + ")";
    return false;
  }
  bool ok = WriteAll(file, bytes, error);
  if (ok && !SetEndOfFile(file)) {
    ok = false;
    error = "its end could not be set (" + WindowsError(GetLastError()) + ")";
  }
  if (ok && sync_ && !FlushFileBuffers(file)) {
    ok = false;
    error = "the text could not be synced to disk (" +
            WindowsError(GetLastError()) + ")";
  }
  CloseHandle(file);
  return ok;
#else
  const int fd =
      open(HostPath(path).c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("it cannot be opened");
    return false;
  }
  // Over the old text, then cut to length: the blocks are there already,
  // so a full disk is met less often than after emptying it first.
  bool ok = WriteAll(fd, bytes, error);
  if (ok && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
    ok = false;
    error = Reason("its end could not be set");
  }
  if (ok && sync_ && fsync(fd) != 0) {
    ok = false;
    error = Reason("the text could not be synced to disk");
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    error = Reason("closing the file failed");
  }
  return ok;
#endif
}

bool NativeFileOps::WriteStream(const std::string& path,
                                const std::string& bytes, std::string& error) {
#ifdef _WIN32
  const HANDLE file = CreateFileW(
      HostPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "it cannot be opened (" + WindowsError(GetLastError()) + ")";
    return false;
  }
  const bool ok = WriteAll(file, bytes, error);
  CloseHandle(file);
  return ok;
#else
  // Without blocking: a FIFO that no program reads fails at once (ENXIO).
  const int fd = open(HostPath(path).c_str(),
                      O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno == ENXIO ? std::string("no program is reading from it")
                           : Reason("it cannot be opened");
    return false;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !(S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode))) {
    close(fd);
    error = "it is no longer a device or a FIFO";
    return false;
  }
  // A reader that has gone is an error here, not the end of the program.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  // A reader that stops taking the text is given this long.
  constexpr int kStallMs = 10000;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      pollfd wait{fd, POLLOUT, 0};
      if (errno == EAGAIN && poll(&wait, 1, kStallMs) == 0) {
        ok = false;
        error = "the program reading from it stopped taking the text";
      }
    } else {
      ok = false;
      error = errno == EPIPE ? std::string(
                                   "the program reading from it "
                                   "closed it before the end")
                             : Reason("writing failed");
    }
  }
  sigaction(SIGPIPE, &previous, nullptr);
  if (close(fd) != 0 && ok) {
    ok = false;
    error = Reason("closing it failed");
  }
  return ok;
#endif
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

std::vector<std::string> NativeFileOps::ListRegularFiles(
    const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(HostPath(folder.empty() ? "." : folder), ec),
       end;
       !ec && it != end; it.increment(ec)) {
    std::error_code statError;
    if (it->symlink_status(statError).type() == fs::file_type::regular)
      names.push_back(Utf8Path(it->path().filename()));
  }
  return names;
}

FileOps& DefaultFileOps() {
  static NativeFileOps ops;
  return ops;
}

}  // namespace sceneshifter
