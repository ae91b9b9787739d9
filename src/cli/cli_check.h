// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>

namespace sceneshifter {

// `check FILE [--json]`: the problems of every area. Returns 0 when there
// are none, 3 when there are, 1 when the file cannot be read.
int CheckCommand(const std::string& file, bool json, std::ostream& out,
                 std::ostream& err);

// `list FILE --json`: every field of every area, in list order. Returns 0,
// or 1 when the file cannot be read.
int ListJsonCommand(const std::string& file, std::ostream& out,
                    std::ostream& err);

}  // namespace sceneshifter
