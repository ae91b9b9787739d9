// SPDX-License-Identifier: MIT
#include "cli_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

// A scenery file naming add-on folder A; B and C are on disk only.
class ScanFolder {
 public:
  explicit ScanFolder(int areas = 1) {
    std::string text = "[General]\r\nTitle=World\r\n";
    for (int n = 1; n <= areas; ++n)
      text += Crlf({"[Area." + FormatAreaNumber(n) + "]", "Title=A",
                    "Local=Addon\\A", "Active=True", "Required=False",
                    "Layer=" + std::to_string(n)});
    dir.Write("Scenery.cfg", text);
    for (const char* bgl : {"Addon/A/scenery/a.bgl", "Addon/B/scenery/b1.bgl",
                            "Addon/B/scenery/b2.BGL", "C/Scenery/c.bgl"}) {
      std::filesystem::create_directories(
          HostPath(dir.Path(bgl)).parent_path());
      dir.Write(bgl, "x");
    }
  }
  std::string File() const { return dir.Path("Scenery.cfg"); }
  TempDir dir;
};

}  // namespace

TEST(CliScan, ListsThenAddsTheNewFolders) {
  const ScanFolder f;
  const auto listed = Cli({"scan", "FILE"}, f.File());
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, "Addon\\B\tB\t2\nC\tC\t1\n");

  const auto json = Cli({"scan", "--json", "FILE"}, f.File());
  const auto parsed = nlohmann::json::parse(json.out);
  EXPECT_EQ(parsed["folders"][1]["path"], "C");
  EXPECT_EQ(parsed["folders"][0]["bglFiles"], 2);

  const std::string before = f.dir.Read("Scenery.cfg");
  const auto added = Cli({"add", "FILE", "--scan"}, f.File());
  EXPECT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(added.out,
            "Added 2 areas at layers 2 to 3. The areas were already in "
            "numerical order.\n");
  const SceneryDocument doc = LoadText(f.dir.Read("Scenery.cfg"));
  ASSERT_EQ(doc.AreaCount(), 3);
  EXPECT_EQ(doc.Areas[1].Title + "|" + doc.Areas[1].PathValue + "|" +
                doc.Areas[1].Active + "|" + doc.Areas[1].Required,
            "B|Addon\\B|True|False");
  EXPECT_EQ(doc.Areas[2].PathValue, "C");
  EXPECT_EQ(f.dir.Read("Scenery.cfg.bak"), before);
  EXPECT_EQ(Cli({"scan", "FILE"}, f.File()).out, "");
}

TEST(CliScan, RefusesWhatItCannotDo) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;  // a part of it
  } cases[] = {
      {{"scan"}, 2, "scan takes FILE and may take DIR"},
      {{"scan", "FILE", "a", "b"}, 2, "scan takes FILE and may take DIR"},
      {{"add", "FILE", "--scan", "--title", "T"}, 2, "unexpected argument"},
      {{"scan", "FILE", "--output", "x"}, 2, "unexpected argument"},
      {{"add", "FILE", "--scan"}, 1, "room for 0 more, not 2"},
  };
  const ScanFolder full(3001);
  for (const Case& c : cases) {
    const auto run = Cli(c.args, full.File());
    EXPECT_EQ(run.status, c.status) << c.args[0] << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_FALSE(
      std::filesystem::exists(HostPath(full.dir.Path("Scenery.cfg.bak"))));
}

// The example opens with the one missing folder marked and two add-on
// folders to offer.
TEST(BundledExample, OneMissingFolderAndTwoNewOnes) {
  const auto check = Cli({"check", SCENESHIFTER_EXAMPLE});
  EXPECT_EQ(check.status, 3);
  EXPECT_EQ(std::count(check.out.begin(), check.out.end(), '\n'), 1)
      << check.out;
  EXPECT_NE(check.out.find("missing-folder\tHollin Ridge"), std::string::npos)
      << check.out;
  EXPECT_EQ(Cli({"scan", SCENESHIFTER_EXAMPLE}).out,
            "Addon Scenery\\HarrowFen\tHarrowFen\t1\n"
            "Addon Scenery\\SkerryIsles\tSkerryIsles\t1\n");
}
