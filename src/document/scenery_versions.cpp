// SPDX-License-Identifier: MIT
#include "scenery_versions.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "host_environment.h"
#include "scenery_reader.h"

namespace sceneshifter {
namespace fs = std::filesystem;
namespace {

constexpr const char* kTextSuffix = ".cfg";
constexpr const char* kTimeSuffix = ".when";

std::string Joined(const std::string& folder, const std::string& name) {
  return Utf8Path(HostPath(folder) / HostPath(name));
}

std::string NameAt(std::chrono::system_clock::time_point now) {
  const std::tm local = LocalTimeOf(std::chrono::system_clock::to_time_t(now));
  char name[64];
  std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  return name;
}

bool ParseWhen(const std::string& text, std::int64_t& recorded,
               std::int64_t& serial) {
  long long a = 0, b = 0;
  if (std::sscanf(text.c_str(), "recorded=%lld\nserial=%lld", &a, &b) != 2)
    return false;
  recorded = a;
  serial = b;
  return true;
}

// Writes `bytes` as `folder`/`name` in one step: a synced temporary file
// renamed over it.
bool WriteDurably(FileOps& ops, const std::string& folder,
                  const std::string& name, const std::string& bytes,
                  std::string& error) {
  std::string temp;
  if (!ops.WriteTemporary(Joined(folder, "." + name + "."), bytes, "", temp,
                          error))
    return false;
  if (!ops.Replace(temp, Joined(folder, name), error)) {
    ops.Remove(temp);
    return false;
  }
  return true;
}

}  // namespace

std::string VersionDate(const SceneryVersion& version) {
  const std::tm local = LocalTimeOf(static_cast<std::time_t>(
      version.recorded / 1000000 - (version.recorded % 1000000 < 0 ? 1 : 0)));
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

int VersionAreaCount(const std::string& text) {
  const ReadResult read = ReadSceneryBytes(text);
  return read.ok ? read.LastArea + 1 : -1;
}

std::string HostVersionsFolder() {
#ifdef _WIN32
  const std::string base = EnvironmentValue("LOCALAPPDATA");
  if (base.empty()) return {};
  return Utf8Path(HostPath(base) / "Sceneshifter" / "versions");
#else
  std::string base = EnvironmentValue("XDG_DATA_HOME");
  // The XDG rule: a relative value is to be ignored.
  if (base.empty() || base[0] != '/') {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    base = home + "/.local/share";
  }
  return base + "/sceneshifter/versions";
#endif
}

std::string VersionStore::FolderFor(const std::string& sceneryPath) const {
  std::error_code ec;
  fs::path full = fs::absolute(HostPath(sceneryPath), ec);
  if (ec) full = HostPath(sceneryPath);
  const fs::path canonical = fs::weakly_canonical(full, ec);
  std::string key = Utf8Path(ec ? full.lexically_normal() : canonical);
#ifdef _WIN32
  // One file whatever the case of its letters or the separators named.
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '/') c = '\\';
  }
#endif
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  // The file's own folder and name, in characters any file system takes.
  const fs::path named = HostPath(key);
  std::string slug = Utf8Path(named.parent_path().filename());
  slug += (slug.empty() ? "" : "-") + Utf8Path(named.filename());
  for (char& c : slug)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
          (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.'))
      c = '_';
  if (slug.size() > 48) slug.erase(0, slug.size() - 48);
  if (!slug.empty() && slug[0] == '.') slug[0] = '_';
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx",
                static_cast<unsigned long long>(hash));
  return Joined(root_, slug + "-" + digits);
}

std::vector<SceneryVersion> VersionStore::List(
    const std::string& sceneryPath) const {
  const std::string folder = FolderFor(sceneryPath);
  std::vector<SceneryVersion> versions;
  const std::vector<std::string> names = ops_.ListRegularFiles(folder);
  const std::set<std::string> present(names.begin(), names.end());
  const std::size_t suffix = std::char_traits<char>::length(kTimeSuffix);
  for (const std::string& entry : names) {
    if (entry.size() <= suffix || entry[0] == '.' ||
        entry.compare(entry.size() - suffix, suffix, kTimeSuffix) != 0)
      continue;
    SceneryVersion version;
    version.name = entry.substr(0, entry.size() - suffix);
    version.file = Joined(folder, version.name + kTextSuffix);
    // A version whose text is missing was stopped half-way.
    if (!present.count(version.name + kTextSuffix)) continue;
    std::string when, error;
    if (!ReadWholeFile(Joined(folder, entry), when, error) ||
        !ParseWhen(when, version.recorded, version.serial))
      continue;
    versions.push_back(std::move(version));
  }
  std::sort(versions.begin(), versions.end(),
            [](const SceneryVersion& a, const SceneryVersion& b) {
              return a.recorded != b.recorded ? a.recorded > b.recorded
                                              : a.serial > b.serial;
            });
  return versions;
}

bool VersionStore::Read(const SceneryVersion& version, std::string& text,
                        std::string& error) const {
  return ReadWholeFile(version.file, text, error);
}

bool VersionStore::Keep(const std::string& sceneryPath, const std::string& text,
                        std::string& error,
                        std::chrono::system_clock::time_point now) {
  if (root_.empty()) {
    error = "there is no folder for the user's data";
    return false;
  }
  const std::string folder = FolderFor(sceneryPath);
  std::error_code ec;
  fs::create_directories(HostPath(folder), ec);
  if (ec) {
    error =
        "the folder " + folder + " could not be made (" + ec.message() + ")";
    return false;
  }
  const std::vector<SceneryVersion> versions = List(sceneryPath);
  if (!versions.empty()) {
    std::string newest, why;
    if (Read(versions.front(), newest, why) && newest == text) return true;
  }

  const std::string base = NameAt(now);
  std::string name = base;
  for (int n = 2; ops_.Exists(Joined(folder, name + kTextSuffix)) ||
                  ops_.Exists(Joined(folder, name + kTimeSuffix));
       ++n)
    name = base + "-" + std::to_string(n);
  std::int64_t serial = 0;
  for (const SceneryVersion& v : versions)
    serial = std::max(serial, v.serial + 1);
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                          now.time_since_epoch())
                          .count();
  const std::string when = "recorded=" + std::to_string(micros) +
                           "\nserial=" + std::to_string(serial) + "\n";
  // The text first: a version counts once its time is beside it.
  std::string why;
  if (!WriteDurably(ops_, folder, name + kTextSuffix, text, why) ||
      !WriteDurably(ops_, folder, name + kTimeSuffix, when, why)) {
    ops_.Remove(Joined(folder, name + kTextSuffix));
    error = "the version could not be written in " + folder + " (" + why + ")";
    return false;
  }
  const std::vector<SceneryVersion> kept = List(sceneryPath);
  for (std::size_t i = kVersionsKept; i < kept.size(); ++i) {
    ops_.Remove(Joined(folder, kept[i].name + kTimeSuffix));
    ops_.Remove(kept[i].file);
  }
  if (!ops_.SyncFolder(folder, why)) {
    error =
        "the folder " + folder + " could not be synced to disk (" + why + ")";
    return false;
  }
  return true;
}

std::string KeepReplacedText(const std::string& sceneryPath,
                             const std::string& text) {
  VersionStore store(HostVersionsFolder());
  std::string error;
  if (store.Keep(sceneryPath, text, error)) return {};
  return "the earlier text could not be kept as a version: " + error;
}

}  // namespace sceneshifter
