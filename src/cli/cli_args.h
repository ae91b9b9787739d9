// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace sceneshifter {

// A verb's command line, split: the words that are not options (FILE, the
// layers, ...) in order, and the options given.
struct CliArgs {
  std::string verb;
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // --title TITLE, ...
  std::set<std::string> flags;                // --json, --active, ...

  bool Has(const std::string& option) const {
    return values.count(option) || flags.count(option);
  }
};

// A verb of sceneshifter-cli: its help and what runs it. Adding a verb is
// one entry in the table of cli.cpp.
struct CliVerb {
  const char* name;
  // The usage lines after "sceneshifter-cli ", continuation lines indented
  // to stand under the verb in "Usage: sceneshifter-cli VERB".
  const char* synopsis;
  // What the verb does, as the help shows it after the verb's name: lines
  // after the first indented by eleven blanks.
  const char* description;
  std::vector<std::string> valueOptions;  // options followed by a value
  std::vector<std::string> flagOptions;
  // Runs the verb. Returns the exit status; 2 for a usage error, described
  // in `usageProblem` and not yet printed.
  int (*run)(const CliArgs& args, std::ostream& out, std::ostream& err,
             std::string& usageProblem);
  // In place of `run`, for a verb that reads its words itself (one with
  // sub-verbs, or an option whose value may be left out).
  int (*runWords)(const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err, std::string& usageProblem);
};

// True when `args` (starting with the verb) asks for the verb's help before
// any "--".
bool AsksForHelp(const std::vector<std::string>& args, const CliVerb& verb);

// Splits `args` (starting with the verb) by the options `verb` takes; "--"
// ends the options. False, with `problem` set, on an option given twice, a
// value missing, or an option the verb does not take.
bool ParseCliArgs(const std::vector<std::string>& args, const CliVerb& verb,
                  CliArgs& parsed, std::string& problem);

// Both of `a` and `b` given: false with `problem` set.
bool Exclusive(const CliArgs& args, const char* a, const char* b,
               std::string& problem);

}  // namespace sceneshifter
