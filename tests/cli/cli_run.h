// SPDX-License-Identifier: MIT
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace sceneshifter::testing {

// What one run of sceneshifter-cli gave.
struct CliRun {
  int status;
  std::string out, err;
};

// Runs the command with `args`, each argument "FILE" standing for `file`.
inline CliRun Cli(std::vector<std::string> args, const std::string& file = "") {
  for (std::string& a : args)
    if (a == "FILE") a = file;
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace sceneshifter::testing
