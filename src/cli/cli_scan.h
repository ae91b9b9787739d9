// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sceneshifter {

// True for `scan ...` and for `add ... --scan ...`.
bool IsScanVerb(const std::vector<std::string>& args);

// `scan FILE [DIR] [--json]`: the add-on folders on disk that no area leads
// to. `add FILE --scan [DIR] [--output OUT]`: adds them all in one save.
// Returns the exit status (0 done, 1 the file cannot be read or saved or the
// table cannot hold them, 2 a usage error described in `usageProblem` and
// not yet printed).
int RunScanVerb(const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err, std::string& usageProblem);

}  // namespace sceneshifter
