// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::CliRun;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::TempDir;
using Json = nlohmann::json;

namespace {

// Three areas in the file's order 2, 1, 3: one whose folder is whole, one
// whose folder is gone, and one with no folder and odd flags; the second
// title is windows-1252 with a tab in it.
struct CheckTree {
  TempDir dir;
  CheckTree() {
    std::filesystem::create_directories(
        HostPath(dir.Path("Addon Scenery/Good/scenery")));
    dir.Write("Addon Scenery/Good/scenery/a.bgl", "x");
    std::filesystem::create_directories(
        HostPath(dir.Path("Addon Scenery/Z\xC3\xBCrich/Scenery")));
    dir.Write("Addon Scenery/Z\xC3\xBCrich/Scenery/z.bgl", "x");
    dir.Write("Scenery.cfg", Crlf({"[General]",
                                   "Title=World",
                                   "[Area.002]",
                                   "Title=Z\xFCrich\tGone",
                                   "Remote=Addon Scenery\\Gone",
                                   "Active=True",
                                   "Required=False",
                                   "Texture=T\\x",
                                   "Flatten.0=1",
                                   "Flatten.1=2",
                                   "[Area.001]",
                                   "Title=Good",
                                   "Local=addon scenery\\GOOD",
                                   "Active=TRUE",
                                   "Required=false",
                                   "Exclude=E",
                                   "[Area.003]",
                                   "Title=Bare",
                                   "Active=yes",
                                   "Required=False"}));
    // The second folder in the file's code page, in capitals.
    dir.Write("Clean.cfg",
              Crlf({"[Area.001]", "Title=Good", "Local=Addon Scenery\\Good",
                    "Active=True", "Required=True", "[Area.002]",
                    "Title=Zurich", "Local=Addon Scenery\\Z\xDCRICH",
                    "Active=True", "Required=True"}));
  }
  std::string File(const char* name = "Scenery.cfg") const {
    return dir.Path(name);
  }
};

}  // namespace

TEST(CliCheck, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"check"},
      {"check", "a", "b"},
      {"check", "--json"},
      {"check", "a", "--json", "--json"},
      {"check", "a", "--jsonx"},
      {"check", "a", "--all", "--all"},
      {"list", "a", "--json", "b"},
      {"list", "--json"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.size() > 1 ? args[1] : args[0]);
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
  }
}

TEST(CliCheck, ProblemsAsLinesAndAsJson) {
  const CheckTree tree;
  const CliRun lines = Cli({"check", tree.File()});
  EXPECT_EQ(lines.status, 3) << lines.err;
  const std::string gone =
      tree.dir.Path("Addon Scenery") +
      (std::filesystem::path::preferred_separator == '/' ? "/" : "\\") + "Gone";
  // Bare is not active: only its odd flag is reported.
  EXPECT_EQ(lines.out, "2\tmissing-folder\tZ\xC3\xBCrich Gone\t" + gone +
                           "\n"
                           "3\todd-flag\tBare\tActive=yes\n");
  EXPECT_EQ(lines.err, "");

  // The same from the other side of the file, as JSON, FILE after --json.
  const CliRun json = Cli({"check", "--json", tree.File()});
  EXPECT_EQ(json.status, 3);
  const Json doc = Json::parse(json.out);
  EXPECT_EQ(doc["file"], tree.File());
  EXPECT_EQ(doc["areas"], 3);
  ASSERT_EQ(doc["problems"].size(), 2u);
  EXPECT_EQ(doc["problems"][0], (Json{{"layer", 2},
                                      {"number", "002"},
                                      {"title", "Z\xC3\xBCrich\tGone"},
                                      {"code", "missing-folder"},
                                      {"detail", gone},
                                      {"active", true}}));
  EXPECT_EQ(doc["problems"][1]["code"], "odd-flag");
  EXPECT_EQ(doc["problems"][1]["active"], false);

  // --all adds the inactive area's other problems.
  const CliRun all = Cli({"check", tree.File(), "--all"});
  EXPECT_EQ(all.status, 3);
  EXPECT_EQ(all.out, "2\tmissing-folder\tZ\xC3\xBCrich Gone\t" + gone +
                         "\n"
                         "3\tno-folder\tBare\t\n"
                         "3\todd-flag\tBare\tActive=yes\n");

  for (const bool asJson : {false, true}) {
    std::vector<std::string> args = {"check", tree.File("Clean.cfg")};
    if (asJson) args.push_back("--json");
    const CliRun clean = Cli(args);
    EXPECT_EQ(clean.status, 0) << clean.err;
    if (asJson)
      EXPECT_EQ(Json::parse(clean.out)["problems"], Json::array());
    else
      EXPECT_EQ(clean.out, "");
  }
}

TEST(CliCheck, ListAsJsonHasEveryField) {
  const CheckTree tree;
  const CliRun run = Cli({"list", tree.File(), "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const Json areas = Json::parse(run.out);
  ASSERT_EQ(areas.size(), 3u);
  const std::vector<std::string> flatten = {"1", "2", "", "", "",
                                            "",  "",  "", "", ""};
  EXPECT_EQ(areas[1], (Json{{"layer", 2},
                            {"number", "002"},
                            {"title", "Z\xC3\xBCrich\tGone"},
                            {"pathKey", "Remote"},
                            {"path", "Addon Scenery\\Gone"},
                            {"textureLine", "Texture=T\\x"},
                            {"active", true},
                            {"activeText", "True"},
                            {"required", false},
                            {"requiredText", "False"},
                            {"exclude", ""},
                            {"flatten", flatten},
                            {"extraLines", Json::array()}}));
  // The truth rule: "true" in any letter case, anything else false.
  EXPECT_EQ(areas[0]["active"], true);
  EXPECT_EQ(areas[0]["activeText"], "TRUE");
  EXPECT_EQ(areas[0]["required"], false);
  EXPECT_EQ(areas[2]["active"], false);
  EXPECT_EQ(areas[2]["activeText"], "yes");
  EXPECT_EQ(areas[0]["pathKey"], "Local");
  EXPECT_EQ(areas[0]["exclude"], "E");
  EXPECT_EQ(areas[2]["pathKey"], "");
  EXPECT_EQ(areas[2]["layer"], 3);
}

TEST(CliCheck, UnreadableFileExitsOne) {
  TempDir dir;
  dir.Write("bad.cfg", "no area here\r\n");
  for (const char* name : {"bad.cfg", "missing.cfg"}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", dir.Path(name)},
          {"check", dir.Path(name), "--json"},
          {"list", dir.Path(name), "--json"}}) {
      SCOPED_TRACE(args[0] + " " + name);
      const CliRun run = Cli(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err.rfind(dir.Path(name) + ": ", 0), 0u) << run.err;
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
  }
}

// Problems of switched-off areas alone do not fail the check, unless asked
// for; an odd flag fails it whatever the state.
TEST(CliCheck, InactiveAreasCountOnlyWithAll) {
  const struct {
    const char* active;
    bool all;
    int status;
  } cases[] = {{"False", false, 0},
               {"False", true, 3},
               {"True", false, 3},
               {"maybe", false, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.active) + (c.all ? " --all" : ""));
    TempDir dir;
    dir.Write("Scenery.cfg",
              Crlf({"[Area.001]", "Title=Off", "Local=Gone",
                    std::string("Active=") + c.active, "Required=False"}));
    std::vector<std::string> args = {"check", dir.Path("Scenery.cfg")};
    if (c.all) args.push_back("--all");
    EXPECT_EQ(Cli(args).status, c.status);
  }
}
