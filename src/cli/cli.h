// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenery_document.h"
#include "scenery_writer.h"

namespace sceneshifter {

// Runs sceneshifter-cli with `args` (without the program name). Returns the
// exit status: 0 success, 1 a file that cannot be read or saved, 2 usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err);

// Reads `file` into `doc` for a command; false, with one line on `err`
// (the path and the reason), when it cannot be read.
bool LoadForCli(const std::string& file, SceneryDocument& doc,
                std::ostream& err);

// What --output takes to mean standard output.
inline constexpr const char* kStandardOutput = "-";

// Takes the lock of `file` for a command that reads it and then saves it
// back (with no `output` elsewhere), so that no other save comes between;
// false, with the reason on `err`, when another program holds it.
bool LockForCli(const std::string& file, const std::string& output,
                SceneryFileLock& lock, std::ostream& err);

// Saves `doc` to its ConfigFile for a command (the text to `out` when that
// is "-"), under `lock` when it holds the file's; false, with the reason on
// `err`, when it could not be saved. Warnings go to `err` too.
bool SaveForCli(SceneryDocument& doc, std::ostream& out, std::ostream& err,
                const SceneryFileLock* lock = nullptr);

// Where a command that saved `doc` says what it did: standard error when
// the text itself went to standard output.
std::ostream& ReportStream(const SceneryDocument& doc, std::ostream& out,
                           std::ostream& err);

// A field of a tab-separated line: tabs and line breaks become blanks.
std::string TabField(std::string text);

}  // namespace sceneshifter
