// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>

namespace sceneshifter {

// `check FILE [--json] [--all]`: the problems of the active areas, or with
// `all` of every area (an odd flag always). Returns 0 when none is
// reported, 3 when some are, 1 when the file cannot be read.
int CheckCommand(const std::string& file, bool json, bool all,
                 std::ostream& out, std::ostream& err);

// `list FILE --json`: every field of every area, in list order. Returns 0,
// or 1 when the file cannot be read.
int ListJsonCommand(const std::string& file, std::ostream& out,
                    std::ostream& err);

}  // namespace sceneshifter
