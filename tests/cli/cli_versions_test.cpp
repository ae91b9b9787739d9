// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "cli_run.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::TempDir;

namespace {

std::string Scenery(std::initializer_list<const char*> titles) {
  std::string text = "[General]\r\nTitle=World\r\n";
  int n = 0;
  for (const char* title : titles) {
    const std::string k = std::to_string(++n);
    text += Crlf({"[Area.00" + k + "]", std::string("Title=") + title,
                  std::string("Local=Scenery\\") + title, "Active=True",
                  "Required=False", "Layer=" + k});
  }
  return text;
}

}  // namespace

// Each save keeps the text it replaced; the versions are listed, compared
// with the file and restored, and a restore is kept as a version too.
TEST(CliVersions, ListDiffRestore) {
  TempDir dir;
  const std::string file = dir.Path("Scenery.cfg");
  const std::string original = Scenery({"Alpha", "Beta", "Gamma", "Delta"});
  dir.Write("Scenery.cfg", original);

  EXPECT_EQ(Cli({"versions", "list", "FILE"}, file).out, "");
  ASSERT_EQ(Cli({"normalize", "FILE"}, file).status, 0);
  const std::string normalized = dir.Read("Scenery.cfg");
  ASSERT_EQ(Cli({"delete", "FILE", "1"}, file).status, 0);
  ASSERT_EQ(Cli({"move", "FILE", "1", "2"}, file).status, 0);

  // Newest first: before the move, before the delete, the original.
  const std::string list = Cli({"versions", "list", "FILE"}, file).out;
  EXPECT_TRUE(std::regex_search(
      list, std::regex("^1\t[0-9-]{10} [0-9:]{8}\t3 areas\n"
                       "2\t[^\t]+\t4 areas\n3\t[^\t]+\t4 areas\n$")))
      << list;
  const auto json = nlohmann::json::parse(
      Cli({"versions", "list", "FILE", "--json"}, file).out);
  ASSERT_EQ(json.size(), 3u);
  EXPECT_EQ(json[2]["areas"], 4);

  EXPECT_EQ(Cli({"versions", "diff", "FILE", "1"}, file).out,
            "2\tmoved\tBeta\tlayer 1 -> 2\n");
  EXPECT_EQ(Cli({"versions", "diff", "FILE", "2"}, file).out,
            "1\tremoved\tAlpha\t\n2\tmoved\tBeta\tlayer 2 -> 2\n");
  const auto diff = nlohmann::json::parse(
      Cli({"versions", "diff", "FILE", "2", "--json"}, file).out);
  EXPECT_EQ(diff["differences"][0]["kind"], "removed");

  const auto restored = Cli({"versions", "restore", "FILE", "3"}, file);
  EXPECT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(dir.Read("Scenery.cfg"), normalized);
  EXPECT_EQ(Cli({"versions", "diff", "FILE", "1"}, file).out,
            "1\tadded\tAlpha\t\n3\tmoved\tGamma\tlayer 1 -> 3\n");

  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case refusals[] = {
      {{"versions", "diff", "FILE", "0"}, 2},
      {{"versions", "diff", "FILE", "x"}, 2},
      {{"versions", "diff", "FILE"}, 2},
      {{"versions", "restore", "FILE", "1", "--json"}, 2},
      {{"versions", "show", "FILE"}, 2},
      {{"versions", "diff", "FILE", "9"}, 1},
      {{"versions", "restore", "FILE", "9"}, 1},
      {{"locate", "FILE"}, 2},
  };
  for (const Case& c : refusals)
    EXPECT_EQ(Cli(c.args, file).status, c.status) << c.args[1];
  EXPECT_EQ(dir.Read("Scenery.cfg"), normalized);
}

#ifndef _WIN32
TEST(CliLocate, PrintsEachFileAndHowItWasFound) {
  TempDir home;
  namespace fs = std::filesystem;
  const std::string old = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", home.Path("").c_str(), 1);
  unsetenv("WINEPREFIX");
  EXPECT_EQ(Cli({"locate"}).status, 3);
  fs::create_directories(
      HostPath(home.Path(".wine/drive_c/Program Files/Microsoft Games/FS")));
  home.Write(".wine/drive_c/Program Files/Microsoft Games/FS/Scenery.cfg", "x");
  const auto found = Cli({"locate"});
  setenv("HOME", old.c_str(), 1);
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out,
            home.Path(".wine/drive_c/Program Files/Microsoft Games/FS/"
                      "Scenery.cfg") +
                "\twine search (~/.wine)\n");
}
#endif
