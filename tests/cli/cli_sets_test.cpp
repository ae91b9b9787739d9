// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"
#include "scenery_sets_file.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::CliRun;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

// Three areas, the second off; a title in windows-1252 bytes.
const std::string kScenery =
    Crlf({"[General]", "Title=World", "[Area.001]", "Title=Z\xFCrich \x80",
          "Local=Addon Scenery\\Zurich", "Active=True", "[Area.002]",
          "Title=Alps", "Local=Addon Scenery\\Alps", "Active=False",
          "[Area.003]", "Title=Base", "Local=Scenery\\Base", "Active=TRUE"});

std::string ActiveFlags(const std::string& bytes) {
  const SceneryDocument doc = LoadText(bytes);
  std::string flags;
  for (int i = 0; i < doc.AreaCount(); ++i)
    flags += (i ? " " : "") + doc.Areas[i].Active;
  return flags;
}

}  // namespace

TEST(SetsFile, KeepsTheFileBytesOfEveryText) {
  // 0x81 is no character in 1252: it must come back as the same byte.
  const std::vector<ScenerySet> sets = {
      {"\xC3\x89t\xC3\xA9",
       {{"Addon Scenery\\Z\xFC\x81", "Z\xFCrich \x80", true},
        {"", "No folder", false}}},
      {"Empty", {}}};
  const std::string json = SetsJson(sets);
  EXPECT_NE(json.find("\"Z\xC3\xBCrich \xE2\x82\xAC\""), std::string::npos)
      << "readable UTF-8 in the file";
  std::vector<ScenerySet> read;
  std::string error;
  ASSERT_TRUE(SetsFromJson(json, read, error)) << error;
  EXPECT_EQ(read, sets);

  // Texts are taken back in the code page the file names, not this run's.
  ASSERT_TRUE(SetsFromJson(
      R"({"version": 1, "codePage": 1250, "sets": [{"name": "pl",
          "areas": [{"folder": "", "title": "\u0142", "active": true}]}]})",
      read, error))
      << error;
  EXPECT_EQ(read.at(0).areas.at(0).title, "\xB3");
}

TEST(SetsFile, RefusesWhatItCannotRead) {
  const struct {
    std::string text;
    std::string reason;
  } cases[] = {
      {"", "not JSON"},
      {R"({"version": 2, "codePage": 1252, "sets": []})", "format version 2"},
      {R"({"version": 1, "sets": []})", "\"codePage\""},
      {R"({"version": 1, "codePage": 1252, "sets": [{"name": " "}]})",
       "must not be empty"},
      {R"({"version": 1, "codePage": 1252, "sets": [{"name": "a",
          "areas": []}, {"name": "a", "areas": []}]})",
       "two sets named \"a\""},
      {R"({"version": 1, "codePage": 1252, "sets": [{"name": "a",
          "areas": [{"folder": "f", "title": "t", "active": "yes"}]}]})",
       "\"active\""},
      {R"({"version": 1, "codePage": 1252, "sets": [{"name": "a",
          "areas": [{"folder": "f", "title": "\u6f22", "active": true}]}]})",
       "cannot hold"},
  };
  for (const auto& c : cases) {
    std::vector<ScenerySet> sets = {{"kept", {}}};
    std::string error;
    EXPECT_FALSE(SetsFromJson(c.text, sets, error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(sets.size(), 1u) << "left as it was";
  }
}

TEST(SetsFile, RefusesToWriteOverAnotherProgramsChange) {
  TempDir dir;
  const std::string path = dir.Path("Scenery.cfg.sets.json");
  SetsFile file;
  std::string error;
  ASSERT_TRUE(ReadSetsFile(path, file, error)) << "missing is no sets";
  EXPECT_FALSE(file.read.exists);
  file.sets.push_back({"mine", {}});
  // Another program created it meanwhile.
  dir.Write("Scenery.cfg.sets.json", SetsJson({{"theirs", {}}}));
  const SaveResult saved = WriteSetsFile(path, file);
  EXPECT_FALSE(saved.ok);
  EXPECT_TRUE(saved.changedOnDisk);
  EXPECT_EQ(dir.Read("Scenery.cfg.sets.json"), SetsJson({{"theirs", {}}}));
}

TEST(CliSets, EachVerb) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const std::string file = dir.Path("Scenery.cfg");
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), "sets");
    return Cli(args, file);
  };
  CliRun r = run({"list", "FILE"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("no scenery sets"), std::string::npos);

  r = run({"save", "FILE", " Summer "});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Saved set \"Summer\": 3 areas, 2 active\n");
  EXPECT_EQ(run({"save", "FILE", "Summer"}).status, 1);

  // Everything off, then the set back.
  for (const char* layer : {"1", "3"})
    ASSERT_EQ(Cli({"set", "FILE", layer, "--inactive"}, file).status, 0);
  r = run({"apply", "FILE", "Summer"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Set Summer applied: 2 areas changed, 0 not in the set left as "
            "they were. The areas were already in numerical order.\n");
  EXPECT_EQ(ActiveFlags(dir.Read("Scenery.cfg")), "True False True");

  EXPECT_EQ(run({"rename", "FILE", "Summer", "Winter"}).status, 0);
  ASSERT_EQ(run({"save", "FILE", "Summer"}).status, 0);
  r = run({"rename", "FILE", "Winter", "Summer"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("a set named \"Summer\" exists"), std::string::npos);
  r = run({"list", "FILE"});
  EXPECT_EQ(r.out, "Winter\t3 areas, 2 active\nSummer\t3 areas, 2 active\n");

  EXPECT_EQ(run({"delete", "FILE", "Winter"}).out, "Deleted set \"Winter\"\n");
  r = run({"apply", "FILE", "Winter"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("there is no set named \"Winter\""), std::string::npos);
  EXPECT_EQ(run({"list", "FILE"}).out, "Summer\t3 areas, 2 active\n");
}

TEST(CliSets, UsageAndUnreadableFiles) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const std::vector<std::vector<std::string>> usage = {
      {"sets"},
      {"sets", "show", "FILE"},
      {"sets", "list"},
      {"sets", "save", "FILE"},
      {"sets", "save", "FILE", " "},
      {"sets", "rename", "FILE", "a"},
  };
  for (const auto& args : usage) {
    const CliRun r = Cli(args, dir.Path("Scenery.cfg"));
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }

  // A sets file that is not one is never overwritten.
  const std::string corrupt = "{\"version\": 1, \"sets\": [";
  dir.Write("Scenery.cfg.sets.json", corrupt);
  EXPECT_EQ(Cli({"sets", "list", "FILE"}, dir.Path("Scenery.cfg")).status, 1);
  const CliRun r = Cli({"sets", "save", "FILE", "x"}, dir.Path("Scenery.cfg"));
  EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Nothing was written"), std::string::npos);
  EXPECT_EQ(dir.Read("Scenery.cfg.sets.json"), corrupt);
  EXPECT_EQ(Cli({"sets", "list", "FILE"}, dir.Path("missing.cfg")).status, 1);
}
