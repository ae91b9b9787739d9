#include "cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../document/test_files.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(Cli, List) {
  TempFolder dir;
  const std::string file = dir.File("Scenery.cfg");
  WriteFile(
      file,
      "[Area.2]\r\nTitle=Z\xfcrich\r\n[Area.1]\r\nTitle=One\r\n[Area.3]\r\n"
      "Title=\r\n");
  const std::string before = ReadFile(file);
  const CliRun r = Cli({"list", file});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1        One\n2        Z\xc3\xbcrich\n3        \n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(file), before);  // listing writes nothing
}

TEST(Cli, NormalizeInPlaceAndToOutput) {
  TempFolder dir;
  const std::string file = dir.File("Scenery.cfg");
  WriteFile(file, SceneryOf(4, true));
  const std::string original = ReadFile(file);

  const CliRun toOut =
      Cli({"normalize", file, "--output", dir.File("out.cfg")});
  EXPECT_EQ(toOut.status, 0);
  EXPECT_NE(toOut.out.find("put into numerical order"), std::string::npos);
  EXPECT_EQ(ReadFile(file), original);
  EXPECT_EQ(ReadFile(dir.File("out.cfg.bak")), "<missing>");

  const CliRun inPlace = Cli({"normalize", file});
  EXPECT_EQ(inPlace.status, 0);
  EXPECT_EQ(ReadFile(file + ".bak"), original);
  EXPECT_EQ(ReadFile(file), ReadFile(dir.File("out.cfg")));
  const CliRun again = Cli({"normalize", file});
  EXPECT_NE(again.out.find("already in order"), std::string::npos);
}

TEST(Cli, FailuresWriteNothing) {
  TempFolder dir;
  const std::string bad = dir.File("bad.cfg");
  WriteFile(bad, "not a scenery file");
  const std::string good = dir.File("good.cfg");
  WriteFile(good, SceneryOf(2));
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{"list", bad}, 1},
      {{"list", dir.File("missing.cfg")}, 1},
      {{"normalize", bad}, 1},
      {{"normalize", good, "--output", dir.File("no/such/dir/out.cfg")}, 1},
      {{}, 2},
      {{"list"}, 2},
      {{"list", good, good}, 2},
      {{"normalize"}, 2},
      {{"normalize", good, "--output"}, 2},
      {{"normalize", good, "--bogus"}, 2},
      {{"frobnicate", good}, 2},
  };
  const auto names = dir.Names();
  for (const Case& c : cases) {
    const CliRun r = Cli(c.args);
    EXPECT_EQ(r.status, c.status) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(dir.Names(), names);
  }
  EXPECT_NE(Cli({"list", bad}).err.find("problem reading"), std::string::npos);
}

TEST(Cli, HelpAndVersion) {
  EXPECT_EQ(Cli({"--help"}).status, 0);
  EXPECT_NE(Cli({"--help"}).out.find("normalize"), std::string::npos);
  const CliRun v = Cli({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out.rfind("sceneshifter-cli ", 0), 0u);
}

}  // namespace
