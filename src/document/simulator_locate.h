// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sceneshifter {

// Where the simulator's installers record their folder: the machine's keys
// and the user's.
enum class RegistryHive { LocalMachine, CurrentUser };

struct RegistryValue {
  std::string name;  // UTF-8; empty for the key's default value
  std::string data;  // UTF-8
};

// Reads string values from a registry: the host's (Windows) or a Wine
// prefix's text files.
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // The string values of `key` ("\" between its names, letters in any
  // case) in `hive`; none when the key is missing. Other kinds of value are
  // left out.
  virtual std::vector<RegistryValue> StringValues(RegistryHive hive,
                                                  const std::string& key) = 0;
};

// One section of a Wine registry file: its key as written between the
// brackets, unescaped, and its string values.
struct RegistrySection {
  std::string key;
  std::vector<RegistryValue> values;
};

// The sections of a Wine registry file (system.reg, user.reg) whose key,
// as written (backslashes doubled), `keep` accepts (null: all), with their
// keys and string values unescaped; values of other kinds (hex, dword,
// str(2)) are skipped.
std::vector<RegistrySection> ParseRegistryText(
    std::string_view text,
    const std::function<bool(std::string_view key)>& keep = nullptr);

// A Wine prefix's registry: system.reg holds the machine's keys, user.reg
// the user's.
class WineRegistry : public RegistryReader {
 public:
  WineRegistry(std::string_view systemText, std::string_view userText);
  std::vector<RegistryValue> StringValues(RegistryHive hive,
                                          const std::string& key) override;

 private:
  std::vector<RegistrySection> machine_, user_;
};

// A scenery file of an installed simulator, and how it was found:
// "registry 7.0", "wine registry 7.0 (~/.wine)" or "wine search (~/.wine)".
struct SimulatorFile {
  std::string path;  // UTF-8 host path
  std::string how;
};

// What the search looks at. On Windows: the registry. Elsewhere: the Wine
// prefixes of $WINEPREFIX and of `home`.
struct LocateSources {
  RegistryReader* registry = nullptr;
  std::string home;        // UTF-8
  std::string winePrefix;  // $WINEPREFIX, or empty
};

// The host's own sources: its registry, home folder and $WINEPREFIX.
LocateSources HostLocateSources();

// The simulator's Scenery.cfg files that exist, each file once: those the
// registry names (version 7.0, the 2000 edition, first, then 8.0 and 9.0),
// then, for the Wine prefixes whose registry names none, those found under
// drive_c/Program Files*/.
std::vector<SimulatorFile> LocateSimulatorFiles(const LocateSources& sources);

}  // namespace sceneshifter
