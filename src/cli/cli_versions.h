// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sceneshifter {

// `versions list FILE [--json]`, `versions diff FILE N [--json]` and
// `versions restore FILE N`: the earlier texts that saves of FILE kept.
// Returns 0, 1 when a file or version cannot be read or saved, 2 on usage
// (with `problem` set).
int VersionsCommand(const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err, std::string& problem);

}  // namespace sceneshifter
