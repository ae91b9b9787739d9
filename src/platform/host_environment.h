// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <string>

namespace sceneshifter {

// The value of the environment variable `name` as UTF-8; empty when unset.
std::string EnvironmentValue(const char* name);

// The user's home folder (HOME, or the account's entry on POSIX; the
// profile folder on Windows) as UTF-8; empty when unknown.
std::string HomeFolder();

// `when` in the host's local time.
std::tm LocalTimeOf(std::time_t when);

}  // namespace sceneshifter
