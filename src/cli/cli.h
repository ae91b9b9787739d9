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

// The scenery file's windows-1252 bytes as UTF-8, decoded as the editor's
// widgets decode them, for output that needs no Qt.
std::string Utf8FromFileBytes(std::string_view bytes);

}  // namespace sceneshifter
