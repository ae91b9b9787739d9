// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli_args.h"

namespace sceneshifter {

// Runs an editing verb: add, delete, move, set, activate or deactivate.
// Loads the file as the editor does (with its sort), makes the change
// through the editor's own table operations and saves as normalize does,
// once however many areas change. Returns the exit status: 0 done, 1 the
// file cannot be read or saved or the change is refused (nothing written),
// 2 a usage error, described in `usageProblem` and not yet printed.
int RunEditVerb(const CliArgs& args, std::ostream& out, std::ostream& err,
                std::string& usageProblem);

// `utf8` in the scenery file's code page (code_page.h), as the editor
// stores typed text; false, with `bytes` left as it was, when the text is
// not UTF-8 or has a character that the code page cannot hold.
bool FileBytesFromUtf8(const std::string& utf8, std::string& bytes);

}  // namespace sceneshifter
