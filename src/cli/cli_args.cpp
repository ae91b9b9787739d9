// SPDX-License-Identifier: MIT
#include "cli_args.h"

#include <algorithm>

namespace sceneshifter {
namespace {

bool Among(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// "-" alone names standard input or output, and is no option.
bool LooksLikeOption(const std::string& arg) {
  return arg.size() >= 2 && arg[0] == '-';
}

}  // namespace

bool AsksForHelp(const std::vector<std::string>& args, const CliVerb& verb) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--") return false;
    if (args[i] == "--help" || args[i] == "-h") return true;
    if (Among(verb.valueOptions, args[i])) ++i;  // its value may be anything
  }
  return false;
}

bool ParseCliArgs(const std::vector<std::string>& args, const CliVerb& verb,
                  CliArgs& parsed, std::string& problem) {
  parsed.verb = args.at(0);
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options && a == "--") {
      options = false;
    } else if (!options || !LooksLikeOption(a)) {
      parsed.positional.push_back(a);
    } else if (parsed.Has(a)) {
      problem = a + " is given twice";
      return false;
    } else if (Among(verb.valueOptions, a)) {
      if (i + 1 >= args.size()) {
        problem = a + " needs a value";
        return false;
      }
      parsed.values[a] = args[++i];
    } else if (Among(verb.flagOptions, a)) {
      parsed.flags.insert(a);
    } else {
      problem = a.rfind("--", 0) == 0 && a.size() > 2
                    ? parsed.verb + " takes no " + a
                    : "unexpected argument '" + a + "'";
      return false;
    }
  }
  return true;
}

bool Exclusive(const CliArgs& args, const char* a, const char* b,
               std::string& problem) {
  if (!args.Has(a) || !args.Has(b)) return true;
  problem = std::string(a) + " and " + b + " exclude each other";
  return false;
}

}  // namespace sceneshifter
