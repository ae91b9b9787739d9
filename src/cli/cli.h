// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sceneshifter {

// Runs sceneshifter-cli with `args` (without the program name). Returns the
// exit status: 0 success, 1 a file that cannot be read or saved, 2 usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err);

}  // namespace sceneshifter
