// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sceneshifter {

// `locate [--json]`: the installed simulator's scenery files, one a line
// (PATH<TAB>HOW). Returns 0 when one was found, 3 when none, 2 on usage.
int LocateCommand(const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err, std::string& problem);

}  // namespace sceneshifter
