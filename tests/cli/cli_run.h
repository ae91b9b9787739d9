// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "test_support.h"

namespace sceneshifter::testing {

// What one run of sceneshifter-cli gave.
struct CliRun {
  int status;
  std::string out, err;
};

// Saves keep versions in the user's data folder: the tests keep theirs in
// a temporary folder of their own, whether ctest started them or a
// developer did.
inline void KeepVersionsAway() {
  static const TempDir data;
  static const bool done = [] {
#ifdef _WIN32
    return _putenv_s("LOCALAPPDATA", data.Path("").c_str()) == 0;
#else
    return setenv("XDG_DATA_HOME", data.Path("").c_str(), 1) == 0;
#endif
  }();
  (void)done;
}

// Runs the command with `args`, each argument "FILE" standing for `file`.
inline CliRun Cli(std::vector<std::string> args, const std::string& file = "") {
  KeepVersionsAway();
  for (std::string& a : args)
    if (a == "FILE") a = file;
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace sceneshifter::testing
