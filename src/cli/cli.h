// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scenery_document.h"

namespace sceneshifter {

// Runs sceneshifter-cli with `args` (without the program name). Returns the
// exit status: 0 success, 1 a file that cannot be read or saved, 2 usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err);

// Reads `file` into `doc` for a command; false, with one line on `err`
// (the path and the reason), when it cannot be read.
bool LoadForCli(const std::string& file, SceneryDocument& doc,
                std::ostream& err);

// Saves `doc` to its ConfigFile for a command; false, with the reason on
// `err`, when it could not be saved. Warnings go to `err` too.
bool SaveForCli(SceneryDocument& doc, std::ostream& err);

// A field of a tab-separated line: tabs and line breaks become blanks.
std::string TabField(std::string text);

}  // namespace sceneshifter
