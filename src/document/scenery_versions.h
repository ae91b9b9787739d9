// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "file_ops.h"

namespace sceneshifter {

// One earlier text of a scenery file, as a save replaced it.
struct SceneryVersion {
  // "YYYYMMDD-HHMMSS" in local time, with "-2", "-3"... for a second that
  // already has one.
  std::string name;
  // When it was kept: microseconds since 1970 (UTC), then a serial for
  // versions kept within the same microsecond. Versions are ordered by
  // these, since local names need not sort (a change of time zone or
  // summer time).
  std::int64_t recorded = 0;
  std::int64_t serial = 0;
  std::string file;  // UTF-8 path of its text
};

// When `version` was kept, in local time: "YYYY-MM-DD HH:MM:SS".
std::string VersionDate(const SceneryVersion& version);

// The number of areas in a version's text; -1 when it cannot be read as a
// scenery file.
int VersionAreaCount(const std::string& text);

// How many versions of one file are kept; older ones are removed.
inline constexpr int kVersionsKept = 20;

// Where the user's versions live: $XDG_DATA_HOME/sceneshifter/versions
// (~/.local/share when unset), %LOCALAPPDATA%\Sceneshifter\versions on
// Windows; empty when the host names no such folder.
std::string HostVersionsFolder();

// The earlier versions of scenery files, a folder for each file under
// `root`. Each version is its text exactly (NAME.cfg) and beside it the
// time it was recorded (NAME.when).
class VersionStore {
 public:
  explicit VersionStore(std::string root, FileOps& ops = DefaultFileOps())
      : root_(std::move(root)), ops_(ops) {}

  // The folder for the file at `sceneryPath`: a readable part of its name
  // and a hash of its full path, so that two files never share one.
  std::string FolderFor(const std::string& sceneryPath) const;

  // The versions of `sceneryPath`, newest first.
  std::vector<SceneryVersion> List(const std::string& sceneryPath) const;

  // Keeps `text` as the newest version of `sceneryPath`, written durably,
  // and removes all but the newest kVersionsKept. A text identical to the
  // newest version is not kept again. False with a reason when it could not
  // be kept.
  bool Keep(const std::string& sceneryPath, const std::string& text,
            std::string& error,
            std::chrono::system_clock::time_point now =
                std::chrono::system_clock::now());

  bool Read(const SceneryVersion& version, std::string& text,
            std::string& error) const;

 private:
  std::string root_;
  FileOps& ops_;
};

// Keeps the text a save replaced in the user's versions; empty on success,
// else a warning to show (a version not kept never fails the save).
std::string KeepReplacedText(const std::string& sceneryPath,
                             const std::string& text);

}  // namespace sceneshifter
