// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sceneshifter {

// `sets list|save|apply|delete|rename FILE ...`: the scenery sets kept
// beside FILE (scenery_sets_file.h); `args` starts with "sets". Returns the
// exit status: 0 done, 1 a file that cannot be read or saved or a refused
// change (nothing written), 2 a usage error, described in `usageProblem`
// and not yet printed.
int RunSetsCommand(const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err, std::string& usageProblem);

}  // namespace sceneshifter
