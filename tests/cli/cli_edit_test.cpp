// SPDX-License-Identifier: MIT
#include "cli_edit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_run.h"
#include "code_page.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::CliRun;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;
using Json = nlohmann::json;

namespace {

// Five areas in order; area 2 with texture, exclude and flatten lines and
// its flags in capitals.
std::string Scenery(bool inOrder = true) {
  std::string text = "[General]\r\nTitle=World\r\n";
  for (int n : {1, 2, 3, 4, 5}) {
    const int number = inOrder || n > 2 ? n : 3 - n;  // 2, 1, 3, 4, 5
    const std::string k = std::to_string(number);
    text += Crlf({"[Area.00" + k + "]", "Title=A" + k, "Local=Scenery\\" + k,
                  "Active=TRUE", "Required=FALSE", "Layer=" + k});
    if (number == 2)
      text += Crlf({"Texture=Tex2", "Exclude=e2", "Flatten.3=f2"});
  }
  return text;
}

std::string Titles(const std::string& bytes) {
  const SceneryDocument doc = LoadText(bytes);
  std::string titles;
  for (int i = 0; i <= doc.LastArea; ++i)
    titles += (i ? " " : "") + doc.Areas[i].Title;
  return titles;
}

const char kInOrder[] = ". The areas were already in numerical order.\n";

}  // namespace

TEST(CliEdit, EachVerb) {
  struct Case {
    std::vector<std::string> args;
    std::string out;        // without the note on the order
    std::string titles;     // after
    bool noFolder = false;  // a --local folder that is not there: a warning
  };
  const Case cases[] = {
      {{"add", "FILE", "--title", "Z\xC3\xBCrich \xE2\x82\xAC", "--local",
        "Addon Scenery\\Z"},
       "Added area \"Z\xC3\xBCrich \xE2\x82\xAC\" at layer 6",
       "A1 A2 A3 A4 A5 Z\xFCrich \x80",
       true},
      {{"add", "FILE", "--title", "New", "--remote", "\\\\srv\\n", "--layer",
        "3"},
       "Added area \"New\" at layer 3",
       "A1 A2 New A3 A4 A5"},
      {{"add", "FILE", "--title", "New", "--local", "x", "--layer", "6"},
       "Added area \"New\" at layer 6",
       "A1 A2 A3 A4 A5 New",
       true},
      {{"delete", "FILE", "2"},
       "Deleted area \"A2\" from layer 2",
       "A1 A3 A4 A5"},
      {{"move", "FILE", "5", "3"},
       "Moved area \"A5\" from layer 5 to layer 3",
       "A1 A2 A5 A3 A4"},
      {{"move", "FILE", "1", "5"},
       "Moved area \"A1\" from layer 1 to layer 5",
       "A2 A3 A4 A5 A1"},
      {{"move", "FILE", "4", "4"},
       "Area \"A4\" is at layer 4 already; nothing moved",
       "A1 A2 A3 A4 A5"},
      {{"set", "FILE", "2", "--title", "Two"},
       "Set the title of area \"Two\" at layer 2",
       "A1 Two A3 A4 A5"},
      {{"set", "FILE", "2", "--remote", "R", "--inactive", "--required"},
       "Set the folder, active flag and required flag of area \"A2\" at "
       "layer 2",
       "A1 A2 A3 A4 A5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    TempDir dir;
    dir.Write("Scenery.cfg", Scenery());
    const CliRun run = Cli(c.args, dir.Path("Scenery.cfg"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.empty(), !c.noFolder) << run.err;
    EXPECT_EQ(run.out, c.out + kInOrder);
    EXPECT_EQ(Titles(dir.Read("Scenery.cfg")), c.titles);
    EXPECT_EQ(dir.Read("Scenery.cfg.bak"), Scenery());
  }
}

TEST(CliEdit, WritesAsTheEditorDoesAndKeepsEveryOtherByte) {
  TempDir dir;
  dir.Write("Scenery.cfg", Scenery());
  ASSERT_EQ(Cli({"set", "FILE", "2", "--remote", "R", "--inactive"},
                dir.Path("Scenery.cfg"))
                .status,
            0);
  std::string expected = Scenery();
  const std::string from = "Title=A2\r\nLocal=Scenery\\2\r\nActive=TRUE";
  expected.replace(expected.find(from), from.size(),
                   "Title=A2\r\nRemote=R\r\nActive=False");
  // The writer's own layout: the file as normalize writes the expected text.
  TempDir other;
  other.Write("want.cfg", expected);
  ASSERT_EQ(Cli({"normalize", "FILE"}, other.Path("want.cfg")).status, 0);
  EXPECT_EQ(dir.Read("Scenery.cfg"), other.Read("want.cfg"));

  // A new area as Add and O K make it; then with --inactive and --required.
  TempDir added;
  added.Write("Scenery.cfg", Scenery());
  ASSERT_EQ(Cli({"add", "FILE", "--title", "T", "--local", "F"},
                added.Path("Scenery.cfg"))
                .status,
            0);
  ASSERT_EQ(Cli({"add", "FILE", "--title", "U", "--remote", "G", "--inactive",
                 "--required"},
                added.Path("Scenery.cfg"))
                .status,
            0);
  const std::string text = added.Read("Scenery.cfg");
  EXPECT_NE(text.find(Crlf({"[Area.006]", "Title=T", "Local=F", "Active=True",
                            "Required=False", "Layer=6", ""})),
            std::string::npos);
  EXPECT_NE(text.find(Crlf({"[Area.007]", "Title=U", "Remote=G", "Active=False",
                            "Required=True", "Layer=7", ""})),
            std::string::npos);
}

TEST(CliEdit, SaysWhenTheLoadReorderedAndWritesToOutput) {
  TempDir dir;
  dir.Write("Scenery.cfg", Scenery(false));
  const CliRun run = Cli({"delete", "FILE", "5", "--output", dir.Path("o.cfg")},
                         dir.Path("Scenery.cfg"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Deleted area \"A5\" from layer 5. The areas were first put into "
            "numerical order and renumbered.\n");
  EXPECT_EQ(Titles(dir.Read("o.cfg")), "A1 A2 A3 A4");
  EXPECT_EQ(dir.Read("Scenery.cfg"), Scenery(false));
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "o.cfg", "o.cfg.lock"}));
}

TEST(CliEdit, RefusalsExitOneAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    std::string err;  // after "FILE: "
  };
  const std::string nothing = " Nothing was written.\n";
  const Case cases[] = {
      {{"delete", "FILE", "6"},
       "There is no area at layer 6: the layers go from 1 to 5."},
      {{"set", "FILE", "0", "--active"},
       "There is no area at layer 0: the layers go from 1 to 5."},
      {{"move", "FILE", "9", "1"},
       "There is no area at layer 9: the layers go from 1 to 5."},
      {{"move", "FILE", "2", "6"},
       "There is no layer 6: the layers go from 1 to 5."},
      {{"move", "FILE", "5", "2"}, "An area cannot be lowered below layer 3."},
      {{"move", "FILE", "3", "1"},
       "The areas at layers 1 to 3 cannot be lowered."},
      {{"add", "FILE", "--title", "N", "--local", "x", "--layer", "1"},
       "An area cannot be lowered below layer 3."},
      {{"add", "FILE", "--title", "N", "--local", "x", "--layer", "7"},
       "There is no layer 7: the layers go from 1 to 6."},
      {{"set", "FILE", "1", "--title", "\xD0\x9C\xD0\xBE"},
       "--title '\xD0\x9C\xD0\xBE' has characters that the scenery file's "
       "code page (1252) cannot hold."},
      {{"add", "FILE", "--title", "t", "--local", "\xFF"},
       "--local '\xFF' has characters that the scenery file's code page "
       "(1252) cannot hold."},
      {{"set", "FILE", "1", "--title", "two\rlines"},
       "--title holds a line break, a tab or another control character, "
       "which a scenery file cannot store."},
      {{"add", "FILE", "--title", "t", "--local", "a\tb"},
       "--local holds a line break, a tab or another control character, "
       "which a scenery file cannot store."},
      {{"set", "FILE", "1", "2", "--exclude", "x\ny"},
       "--exclude holds a line break, a tab or another control character, "
       "which a scenery file cannot store."},
      {{"set", "FILE", "2", "6", "--active"},
       "There is no area at layer 6: the layers go from 1 to 5."},
      {{"add", "FILE", "--title", "t", "--local", "f [Area.9]"},
       "the Folder holds text that a scenery file cannot store (it would be "
       "read back differently)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    TempDir dir;
    dir.Write("Scenery.cfg", Scenery());
    const std::string file = dir.Path("Scenery.cfg");
    const CliRun run = Cli(c.args, file);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, file + ": " + c.err + nothing);
    EXPECT_EQ(dir.Read("Scenery.cfg"), Scenery());
    EXPECT_EQ(dir.Names(),
              (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.lock"}));
  }

  // A full table takes no more; a file that cannot be read says why.
  TempDir dir;
  std::string full = "[General]\r\n";
  for (int n = 1; n <= kAreaSlots; ++n)
    full += "[Area." + std::to_string(n) + "]\r\nTitle=a\r\n";
  dir.Write("full.cfg", full);
  CliRun run = Cli({"add", "FILE", "--title", "N", "--local", "x"},
                   dir.Path("full.cfg"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("3001 areas already"), std::string::npos);
  run = Cli({"delete", "FILE", "1"}, dir.Path("missing.cfg"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, dir.Path("missing.cfg") + ": there is no such file\n");
}

TEST(CliEdit, UsageErrorsExitTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* problem;
  };
  const Case cases[] = {
      {{"add", "FILE", "--local", "x"}, "add needs --title TITLE"},
      {{"add", "FILE", "--title", "t"},
       "add needs --local FOLDER or --remote FOLDER"},
      {{"add", "FILE", "--title", "t", "--local", "x", "--remote", "y"},
       "--local and --remote exclude each other"},
      {{"add", "FILE", "--title", "", "--local", "x"},
       "--title must not be empty"},
      {{"add", "FILE", "--title", "t", "--local", "x", "--layer", "3x"},
       "N must be a whole number, not '3x'"},
      {{"add", "FILE", "--title", "t", "--title", "u", "--local", "x"},
       "--title is given twice"},
      {{"add", "FILE", "--title", "t", "--local", "x", "--active"},
       "add takes no --active"},
      {{"add", "--title", "t", "--local", "x"}, "add takes one FILE"},
      {{"delete", "FILE"}, "delete takes FILE LAYER"},
      {{"delete", "FILE", "-1"}, "unexpected argument '-1'"},
      {{"delete", "FILE", "99999999999"},
       "LAYER must be a whole number, not '99999999999'"},
      {{"move", "FILE", "1"}, "move takes FILE LAYER TARGET"},
      {{"move", "FILE", "1", "two"},
       "TARGET must be a whole number, not 'two'"},
      {{"set", "FILE", "1"}, "set needs at least one field to change"},
      {{"set", "FILE", "1", "--active", "--inactive"},
       "--active and --inactive exclude each other"},
      {{"set", "FILE", "1", "--layer", "2"}, "set takes no --layer"},
      {{"set", "FILE", "1", "--title"}, "--title needs a value"},
  };
  TempDir dir;
  dir.Write("Scenery.cfg", Scenery());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    const CliRun run = Cli(c.args, dir.Path("Scenery.cfg"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(
        run.err.rfind(
            std::string("sceneshifter-cli: ") + c.problem + "\nUsage:", 0),
        0u);
  }
  EXPECT_EQ(dir.Names(), std::set<std::string>{"Scenery.cfg"});

  // The help names every verb and every option.
  const std::string help = Cli({"--help"}).out;
  for (const char* word :
       {"list FILE", "normalize FILE", "add FILE", "delete FILE LAYER",
        "move FILE LAYER TARGET", "set FILE LAYER", "--title", "--local",
        "--remote", "--inactive", "--active", "--required", "--not-required",
        "--layer N", "--output OUT"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST(CliEdit, Utf8ToTheCodePage) {
  struct Case {
    std::string utf8;
    bool ok;
    std::string bytes;
  };
  // The tests run with code page 1252.
  const Case cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC", true, "caf\xE9 \x80"},
      {"\xD0\x9C", false, ""},      // Cyrillic
      {"\xEF\xBF\xBD", false, ""},  // U+FFFD itself
      {"\xC3", false, ""},          // not UTF-8: cut short,
      {"\xC0\xAF", false, ""},      // overlong,
      {"\xED\xA0\x80", false, ""},  // a surrogate,
      {"\xE9", false, ""},          // a bare byte
  };
  for (const Case& c : cases) {
    std::string bytes = "untouched";
    EXPECT_EQ(FileBytesFromUtf8(c.utf8, bytes), c.ok) << c.utf8;
    EXPECT_EQ(bytes, c.ok ? c.bytes : "untouched") << c.utf8;
    // Whatever is stored reads back as the text given.
    if (c.ok) {
      EXPECT_EQ(Utf8FromBytes(bytes), c.utf8);
    }
  }
}

TEST(CliEdit, SeveralAreasInOneSave) {
  struct Case {
    std::vector<std::string> args;
    std::string out;              // without the note on the order
    std::string active, exclude;  // Active= and Exclude= of areas 1 to 5
  };
  const Case cases[] = {
      {{"set", "FILE", "4", "2", "4", "--inactive", "--exclude", ""},
       "Set the active flag and exclude value of 2 areas, at layers 4 and 2",
       "TRUE False TRUE False TRUE",
       "- - - - -"},
      {{"activate", "FILE", "1", "3"},
       "Activated 2 areas, at layers 1 and 3",
       "True TRUE True TRUE TRUE",
       "- e2 - - -"},
      {{"deactivate", "--", "FILE", "5"},
       "Deactivated area \"A5\" at layer 5",
       "TRUE TRUE TRUE TRUE False",
       "- e2 - - -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    TempDir dir;
    dir.Write("Scenery.cfg", Scenery());
    const CliRun run = Cli(c.args, dir.Path("Scenery.cfg"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out + kInOrder);
    const SceneryDocument doc = LoadText(dir.Read("Scenery.cfg"));
    std::string active, exclude;
    for (const AreaEntry& a : doc.Areas) {
      active += (active.empty() ? "" : " ") + a.Active;
      exclude +=
          (exclude.empty() ? "" : " ") + (a.Exclude.empty() ? "-" : a.Exclude);
    }
    EXPECT_EQ(active, c.active);
    EXPECT_EQ(exclude, c.exclude);
    EXPECT_EQ(dir.Read("Scenery.cfg.bak"), Scenery());  // one generation
  }
}

TEST(CliEdit, DeactivateProblemsLeavesSharedFoldersToTheUser) {
  TempDir dir;
  std::filesystem::create_directories(HostPath(dir.Path("Addon/Good/scenery")));
  dir.Write("Addon/Good/scenery/a.bgl", "x");
  // 1 and 2 share a whole folder; 3 and 4 share one that is gone, 4 is off.
  dir.Write("Scenery.cfg",
            Crlf({"[Area.001]",        "Title=Good",        "; kept",
                  "Local=Addon\\Good", "Active=True",       "Required=False",
                  "[Area.002]",        "Title=Twin",        "Local=Addon\\GOOD",
                  "Active=TRUE",       "Required=False",    "[Area.003]",
                  "Title=Gone",        "Local=Addon\\Gone", "Active=true",
                  "Required=False",    "[Area.004]",        "Title=Off",
                  "Local=Addon\\Gone", "Active=False",      "Required=False"}));
  const std::string file = dir.Path("Scenery.cfg");
  const Json check = Json::parse(Cli({"check", "FILE", "--json"}, file).out);
  EXPECT_EQ(check["problems"][0]["code"], "duplicate-folder");
  EXPECT_EQ(check["problems"][0]["sameAs"], Json::array({2}));
  EXPECT_EQ(check["problems"][1]["sameAs"], Json::array({1}));
  EXPECT_EQ(check["problems"][2]["code"], "missing-folder");
  EXPECT_FALSE(check["problems"][2].contains("sameAs"));

  CliRun run = Cli({"deactivate", "FILE", "--problems"}, file);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Deactivated area \"Gone\" at layer 3" + std::string(kInOrder));
  const Json list = Json::parse(Cli({"list", "FILE", "--json"}, file).out);
  std::string active;
  for (const Json& area : list) active += area["active"] ? "1" : "0";
  EXPECT_EQ(active, "1100");
  EXPECT_EQ(list[0]["extraLines"], Json::array({"; kept"}));

  // Nothing left to switch off: nothing written.
  const std::string saved = dir.Read("Scenery.cfg");
  const std::string backup = dir.Read("Scenery.cfg.bak");
  run = Cli({"deactivate", "FILE", "--problems"}, file);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("No active area has a problem", 0), 0u);
  EXPECT_EQ(dir.Read("Scenery.cfg"), saved);
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), backup);
}

TEST(CliEdit, EveryVerbHasItsHelpAndDashDashEndsTheOptions) {
  for (const char* verb : {"list", "check", "normalize", "add", "delete",
                           "move", "set", "activate", "deactivate"}) {
    for (const char* help : {"--help", "-h"}) {
      const CliRun run = Cli({verb, "FILE", help, "--bogus"});
      EXPECT_EQ(run.status, 0) << verb;
      EXPECT_EQ(
          run.out.rfind(std::string("Usage: sceneshifter-cli ") + verb, 0), 0u)
          << run.out;
      EXPECT_EQ(run.err, "");
    }
  }
  TempDir dir;
  dir.Write("Scenery.cfg", Scenery());
  // After --, "--help" and "-1" are words, not options; a value may be
  // "--help".
  EXPECT_EQ(Cli({"delete", "--", "FILE", "-1"}, dir.Path("Scenery.cfg")).err,
            "sceneshifter-cli: LAYER must be a whole number, not '-1'\n" +
                Cli({"delete", "--help"}).out);
  EXPECT_EQ(Cli({"list", "--", "--help"}).status, 1);
  const CliRun titled =
      Cli({"set", "FILE", "1", "--title", "--help"}, dir.Path("Scenery.cfg"));
  EXPECT_EQ(titled.status, 0) << titled.err;
  EXPECT_EQ(LoadText(dir.Read("Scenery.cfg")).Areas[0].Title, "--help");
}
