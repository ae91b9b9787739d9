// SPDX-License-Identifier: MIT
#include "simulator_locate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::TempDir;

namespace {

constexpr const char* kKey7 =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0";

// name=data pairs, joined for a readable comparison.
std::string Joined(const std::vector<RegistryValue>& values) {
  std::string out;
  for (const RegistryValue& v : values)
    out += (out.empty() ? "" : "|") + v.name + "=" + v.data;
  return out;
}

}  // namespace

TEST(WineRegistry, ReadsStringValuesOfTheSimulatorKeys) {
  const std::string section =
      "[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\7.0] "
      "1600000000\n#time=1d6f0e0a0b0c0d0\n";
  struct Case {
    const char* what;
    std::string text;
    const char* expected;
  };
  const Case cases[] = {
      {"doubled backslashes in the data",
       section + "\"EXE Path\"=\"C:\\\\Program Files\\\\FS2000\\\\\"\n",
       "EXE Path=C:\\Program Files\\FS2000\\"},
      {"a quote and a backslash inside the name",
       section + "\"Say \\\"hi\\\" \\\\ there\"=\"x\"\n",
       "Say \"hi\" \\ there=x"},
      {"the key's default value", section + "@=\"D:\\\\Sim\"\n", "=D:\\Sim"},
      {"hex, dword and str(2) values left alone, continued lines too",
       section + "\"Bin\"=hex:01,02,\\\n  22,3d,22,00\n\"N\"=dword:00000001\n"
                 "\"E\"=str(2):\"%ProgramFiles%\"\n\"Kept\"=\"yes\"\n",
       "Kept=yes"},
      {"a character written as its code",
       section + "\"Path\"=\"C:\\\\Caf\\x00e9\"\n", "Path=C:\\Caf\xC3\xA9"},
      {"the section's name in other letter case, CR LF lines",
       "[SOFTWARE\\\\microsoft\\\\MICROSOFT GAMES\\\\flight simulator\\\\7.0]"
       " 1\r\n\"EXE Path\"=\"C:\\\\FS\"\r\n",
       "EXE Path=C:\\FS"},
      {"values of other keys are not the simulator's",
       "[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\8.0]"
       "\n\"EXE Path\"=\"C:\\\\FS8\"\n[Software\\\\Other\\\\7.0]\n"
       "\"EXE Path\"=\"C:\\\\X\"\n",
       ""},
      {"an unclosed quote is no value",
       section + "\"EXE Path\"=\"C:\\\\FS\n\"Next\"=\"n\"\n", "Next=n"},
  };
  for (const Case& c : cases) {
    WineRegistry registry(c.text, "");
    EXPECT_EQ(Joined(registry.StringValues(RegistryHive::LocalMachine, kKey7)),
              c.expected)
        << c.what;
  }
  // user.reg holds the user's keys.
  WineRegistry user("", cases[0].text);
  EXPECT_EQ(Joined(user.StringValues(RegistryHive::CurrentUser,
                                     "Software\\Microsoft\\Microsoft Games\\"
                                     "Flight Simulator\\7.0")),
            cases[0].expected);
  EXPECT_EQ(user.StringValues(RegistryHive::LocalMachine, kKey7).size(), 0u);
}

#ifndef _WIN32
// A home folder with several Wine prefixes: what the registry names comes
// first, version by version, then what a search of the others finds; a file
// reached by two roads is listed once.
TEST(LocateSimulatorFiles, WinePrefixesOfAHomeFolder) {
  namespace fs = std::filesystem;
  TempDir home;
  const fs::path root = HostPath(home.Path(""));
  auto file = [&](const std::string& path, const std::string& text = "x") {
    fs::create_directories((root / path).parent_path());
    home.Write(path, text);
  };
  auto reg = [](const std::string& version, const std::string& values,
                const std::string& wow = "") {
    return "[Software\\\\" + wow +
           "Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\" + version +
           "] 1\n" + values + "\n";
  };
  // ~/.wine: 7.0 in user.reg on drive D:, 8.0 with the folder's names in
  // other letter case, 9.0 whose EXE Path holds no scenery file but another
  // value names a folder that does. The registry names something, so
  // Program Files is not searched.
  file(".wine/system.reg",
       "WINE REGISTRY Version 2\n" +
           reg("8.0", "\"EXE Path\"=\"c:\\\\PROGRAM FILES\\\\fs2004\\\\\"") +
           reg("9.0",
               "\"EXE Path\"=\"C:\\\\Empty\"\n\"Install\"=\"C:\\\\FS9\""));
  file(".wine/user.reg",
       reg("7.0", "\"EXE Path\"=\"D:\\\\Sims\\\\FS2000\\\\fs2000.exe\""));
  file(".wine/drive_c/Program Files/FS2004/scenery.cfg");
  file(".wine/drive_c/Empty/readme.txt");
  file(".wine/drive_c/FS9/SCENERY.CFG");
  file(".wine/drive_c/Program Files/Other/Scenery.cfg");
  file("disk/Sims/FS2000/Scenery.cfg");
  file("disk/Sims/FS2000/fs2000.exe");
  fs::create_directories(root / ".wine/dosdevices");
  fs::create_directory_symlink(root / "disk", root / ".wine/dosdevices/d:");
  // A prefix without a registry: searched four names deep in every
  // Program Files folder, and nowhere else.
  const std::string p1 = ".local/share/wineprefixes/p1/";
  file(p1 + "drive_c/Program Files (x86)/Microsoft Games/FS2000/Scenery.cfg");
  file(p1 + "drive_c/Program Files/a/b/c/d/Scenery.cfg");
  file(p1 + "drive_c/Windows/Scenery.cfg");
  // A 32-bit installer's key, and a second road to ~/.wine's 8.0 file
  // through the Z: drive.
  const std::string p2 = ".PlayOnLinux/wineprefix/p2/";
  file(p2 + "system.reg",
       reg("7.0", "\"EXE Path\"=\"C:\\\\FS\"", "Wow6432Node\\\\") +
           reg("8.0", "\"EXE Path\"=\"Z:" + root.string() +
                          "/.wine/drive_c/Program Files/FS2004\""));
  file(p2 + "drive_c/FS/Scenery.cfg");
  fs::create_directories(root / p2 / "dosdevices");
  fs::create_directory_symlink("/", root / p2 / "dosdevices/z:");
  // Not a prefix.
  file("Games/notes/Scenery.cfg");

  LocateSources sources;
  sources.home = root.string();
  sources.winePrefix = (root / ".wine").string();
  std::vector<std::string> found;
  for (const SimulatorFile& f : LocateSimulatorFiles(sources))
    found.push_back(fs::path(f.path).lexically_relative(root).string() + " " +
                    f.how);
  const std::vector<std::string> expected = {
      "disk/Sims/FS2000/Scenery.cfg wine registry 7.0 (~/.wine)",
      p2 + "drive_c/FS/Scenery.cfg wine registry 7.0 (~/" +
          p2.substr(0, p2.size() - 1) + ")",
      ".wine/drive_c/Program Files/FS2004/scenery.cfg wine registry 8.0 "
      "(~/.wine)",
      ".wine/drive_c/FS9/SCENERY.CFG wine registry 9.0 (~/.wine)",
      p1 +
          "drive_c/Program Files (x86)/Microsoft Games/FS2000/Scenery.cfg "
          "wine search (~/" +
          p1.substr(0, p1.size() - 1) + ")"};
  EXPECT_EQ(found, expected);

  LocateSources empty;
  empty.home = home.Path("disk");
  EXPECT_TRUE(LocateSimulatorFiles(empty).empty());
}
#endif
