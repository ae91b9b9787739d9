// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace sceneshifter {

// True when `path` names a file that can be opened for reading (a folder,
// an empty path or a file without access counts as missing). One trailing
// separator is ignored.
bool FileExists(const std::string& path);

// The part of `path` after its last "\", "/" or ":".
std::string FileNameOf(const std::string& path);

// The folder of a file's path without the separator before the name; empty
// when the path has no folder part.
std::string FolderOf(const std::string& path);

// True for the separators of both the simulator's and the host's paths.
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace sceneshifter
