// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <random>
#include <string>
#include <vector>

#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "table_operations.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

std::vector<std::string> Titles(const SceneryDocument& doc) {
  std::vector<std::string> titles;
  for (int i = 0; i <= doc.LastArea; ++i) titles.push_back(doc.Areas[i].Title);
  return titles;
}

// `count` areas numbered 1, 2, ... in file order, titled A1, A2, ...
std::string Areas(int count) {
  std::string text = "[General]\r\n";
  for (int i = 1; i <= count; ++i)
    text += "[Area." + FormatAreaNumber(i) + "]\r\nTitle=A" +
            std::to_string(i) + "\r\nLayer=" + std::to_string(i) + "\r\n";
  return text;
}

}  // namespace

TEST(ReaderStates, WhichFilesReadAndWhichAreas) {
  struct Case {
    const char* name;
    std::string text;
    bool ok;
    std::vector<std::string> titles;
  };
  const std::vector<Case> cases = {
      {"empty file", "", false, {}},
      {"only a line end", "\r\n", false, {}},
      {"no section line", Crlf({"[General]", "Title=x"}), false, {}},
      {"only a section line", "[Area.001]", false, {}},
      {"section line is the last line", Crlf({"H", "[Area.001]"}), false, {}},
      {"lone line feeds make one line", "H\n[Area.001]\nTitle=x\n", false, {}},
      {"last line without terminator", "[Area.1]\r\nTitle=a", true, {"a"}},
      {"carriage returns alone end lines", "[Area.1]\rTitle=a\r", true, {"a"}},
      {"mixed line ends",
       "H\r[Area.1]\r\nTitle=a\r[Area.2]\r\nTitle=b",
       true,
       {"a", "b"}},
      {"section key in any case", Crlf({"[aREA.1]", "Title=a"}), true, {"a"}},
      {"section text anywhere in the line",
       Crlf({"x [Area.1] y", "Title=a"}),
       true,
       {"a"}},
      {"final section line opens no area",
       Crlf({"[Area.1]", "Title=a", "[Area.2]"}),
       true,
       {"a"}},
      {"section line straight after a section line joins them",
       Crlf({"[Area.1]", "[Area.2]", "Title=b", "[Area.3]", "Title=c"}),
       true,
       {"b", "c"}},
      {"a section with no body lines but one",
       Crlf({"[Area.1]", "", "[Area.2]", "Title=b"}),
       true,
       {"", "b"}},
      {"lone line feed stays inside a title",
       "[Area.1]\r\nTitle=a\nb\r\n[Area.2]\r\nTitle=c\r\n",
       true,
       {"a\nb", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReadResult read = ReadSceneryBytes(c.text);
    ASSERT_EQ(read.ok, c.ok) << read.error;
    if (!c.ok) {
      EXPECT_EQ(read.error, kReadFailureMessage);
      continue;
    }
    SceneryDocument doc = LoadText(c.text);
    EXPECT_EQ(Titles(doc), c.titles);
  }
}

TEST(ReaderStates, NumberIsThreeCharactersAfterTheFirstDotOrAllItsDigits) {
  struct Case {
    const char* sectionLine;
    const char* number;
  };
  for (const Case& c : std::initializer_list<Case>{{"[Area.012]", "012"},
                                                   {"[Area.5]", "5]"},
                                                   {"[Area.1234]", "1234"},
                                                   {"[Area.12a4]", "12a"},
                                                   {"[Area.]", "]"},
                                                   {"a.b[Area.7]", "b[A"}}) {
    ReadResult read = ReadSceneryBytes(Crlf({c.sectionLine, "Title=x"}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.Areas[0].Number, c.number) << c.sectionLine;
  }
}

TEST(ReaderKeys, EachKeySetsItsField) {
  using Field = std::string AreaEntry::*;
  struct Case {
    std::vector<std::string> body;
    Field field;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{"Title=Name"}, &AreaEntry::Title, "Name"},
      {{"title=Name"}, &AreaEntry::Title, "Name"},
      {{"TITLE=Name"}, &AreaEntry::Title, "Name"},
      {{"Titles=Name"}, &AreaEntry::Title, "Name"},
      {{"Title"}, &AreaEntry::Title, "Title"},
      {{"TitleOnly"}, &AreaEntry::Title, "TitleOnly"},
      {{"Title=a=b"}, &AreaEntry::Title, "a=b"},
      {{"Title= kept as is "}, &AreaEntry::Title, " kept as is "},
      {{"Title="}, &AreaEntry::Title, ""},
      {{"Title=\xC4rger \xDC"}, &AreaEntry::Title, "\xC4rger \xDC"},
      {{"Title=a", " Title=b"}, &AreaEntry::Title, "a"},
      {{"Title=a", "Title=b"}, &AreaEntry::Title, "b"},
      {{"Titl=a"}, &AreaEntry::Title, ""},
      {{"Local=Scenery\\A"}, &AreaEntry::PathValue, "Scenery\\A"},
      {{"Local=Scenery\\A"}, &AreaEntry::PathKey, "Local="},
      {{"LOCAL=x"}, &AreaEntry::PathKey, "Local="},
      {{"Localx=y"}, &AreaEntry::PathValue, "y"},
      {{"Remote=\\\\srv\\B"}, &AreaEntry::PathKey, "Remote="},
      {{"Remote=\\\\srv\\B"}, &AreaEntry::PathValue, "\\\\srv\\B"},
      {{"Local=", "Remote=Scenery\\X"}, &AreaEntry::PathKey, "Remote="},
      {{"Local=", "Remote=Scenery\\X"}, &AreaEntry::PathValue, "Scenery\\X"},
      {{"Local=A", "Remote="}, &AreaEntry::PathKey, "Local="},
      {{"Local=A", "Remote="}, &AreaEntry::PathValue, "A"},
      {{"Remote=B", "Local=A"}, &AreaEntry::PathKey, "Local="},
      {{"Local="}, &AreaEntry::PathKey, ""},
      {{"Active=True"}, &AreaEntry::Active, "True"},
      {{"active=maybe"}, &AreaEntry::Active, "maybe"},
      {{"Activ"}, &AreaEntry::Active, "Activ"},
      {{"Required=False"}, &AreaEntry::Required, "False"},
      {{"Exclude=1,2"}, &AreaEntry::Exclude, "1,2"},
      {{"EXCLUSION=x"}, &AreaEntry::Exclude, "x"},
      {{"Texture=Texture\\A"}, &AreaEntry::TextureLine, "Texture=Texture\\A"},
      {{"TEXTURE_SET=1=2"}, &AreaEntry::TextureLine, "TEXTURE_SET=1=2"},
      {{"Texture=a", "Texture=b"}, &AreaEntry::TextureLine, "Texture=b"},
      {{"Comment=x", "; note", "", "Tit"}, &AreaEntry::Title, ""},
      {{"Spare=x"}, &AreaEntry::Spare, ""},
  };
  for (const Case& c : cases) {
    std::string text = "[Area.1]\r\n";
    for (const std::string& line : c.body) text.append(line).append("\r\n");
    SCOPED_TRACE(text);
    ReadResult read = ReadSceneryBytes(text);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.Areas[0].*c.field, c.expected);
  }
}

TEST(ReaderKeys, LayerValueAsRead) {
  struct Case {
    std::vector<std::string> body;
    int layer;
  };
  const std::vector<Case> cases = {
      {{"Layer=7"}, 7},
      {{"layer=-7"}, -7},
      {{"Layer=2.5"}, 2},
      {{"Layer=3.5"}, 4},
      {{"Layer=-2.5"}, -2},
      {{"Layer= 12x"}, 12},
      {{"Layer=abc"}, 0},
      {{"Layer=32767"}, 32767},
      {{"Layer=-32768"}, -32768},
      {{"Layer=5", "Layer=32768"}, 5},
      {{"Layer=5", "Layer=9e9"}, 5},
      {{"Layer=5", "Layer=1" + std::string(400, '0')}, 5},
      {{"Layer=5", "Layer=1e-400"}, 0},
  };
  for (const Case& c : cases) {
    std::string text = "[Area.1]\r\n";
    for (const std::string& line : c.body) text.append(line).append("\r\n");
    ReadResult read = ReadSceneryBytes(text);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.Areas[0].Layer, c.layer) << text;
  }
}

TEST(ReaderKeys, FlattenLinesFillSlotsInReadingOrder) {
  std::string eleven = "[Area.1]\r\n";
  for (int i = 0; i < 12; ++i)
    eleven += "Flatten.0=f" + std::to_string(i) + "\r\n";
  ReadResult read = ReadSceneryBytes(eleven);
  ASSERT_TRUE(read.ok);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(read.Areas[0].Flatten[k], "f" + std::to_string(k));

  read = ReadSceneryBytes(
      Crlf({"[Area.1]", "Flatten.3=a", "FLATTEN.7=b", "Flatten.9=", "flatt=c",
            "[Area.2]", "Flatten.0=x"}));
  ASSERT_TRUE(read.ok);
  const auto& f = read.Areas[0].Flatten;
  EXPECT_EQ(f[0], "a");
  EXPECT_EQ(f[1], "b");
  EXPECT_EQ(f[2], "");
  EXPECT_EQ(f[3], "c");
  EXPECT_EQ(f[4], "");
  // The count starts again in each section.
  EXPECT_EQ(read.Areas[1].Flatten[0], "x");
}

TEST(ReaderHeader, KeptVerbatimUpToTheSectionLine) {
  ReadResult read = ReadSceneryBytes(
      Crlf({"[General]", "  Title = x ", "", "[Area.1]", "Title=a"}));
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.HeaderLines[0], "[General]");
  EXPECT_EQ(read.HeaderLines[1], "  Title = x ");
  EXPECT_EQ(read.HeaderLines[2], "");
  EXPECT_EQ(read.HeaderLines[3], "[Area.1]");
  EXPECT_EQ(read.HeaderLines.size(), 4u);  // only the slots lines reached
}

TEST(ReaderHeader, CursorKeepsTwoHundredAndOneSlots) {
  struct Case {
    int headerLines;  // lines before the first section line
    bool sectionLineKept;
  };
  for (const Case& c : std::initializer_list<Case>{
           {199, true}, {200, true}, {201, false}, {250, false}}) {
    SCOPED_TRACE(c.headerLines);
    std::string text;
    for (int i = 0; i < c.headerLines; ++i)
      text += "h" + std::to_string(i) + "\r\n";
    text += Crlf({"[Area.1]", "Title=a", "[Area.2]", "Title=b"});
    ReadResult read = ReadSceneryBytes(text);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.LastArea, 1);
    EXPECT_EQ(read.HeaderLines.size(),
              static_cast<std::size_t>(std::min(c.headerLines + 1, 201)));
    for (int i = 0; i < std::min(c.headerLines, 201); ++i)
      ASSERT_EQ(read.HeaderLines[i], "h" + std::to_string(i));
    if (c.sectionLineKept)
      EXPECT_EQ(read.HeaderLines[c.headerLines], "[Area.1]");
    else
      EXPECT_EQ(read.HeaderLines[200], "h200");
  }
}

TEST(ReaderCache, RunMovesIntoTheHeaderAndClosesTheArea) {
  ReadResult read = ReadSceneryBytes(
      Crlf({"H", "[Area.1]", "Title=a", "[Cache]", "Title=not an area",
            "Size=10", "[Area.2]", "Title=b"}));
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.LastArea, 1);
  EXPECT_EQ(read.Areas[0].Title, "a");
  EXPECT_EQ(read.Areas[1].Title, "b");
  EXPECT_EQ(read.Areas[1].Number, "2]");
  const std::vector<std::string> head(read.HeaderLines.begin(),
                                      read.HeaderLines.begin() + 5);
  EXPECT_EQ(head, (std::vector<std::string>{"H", "[Cache]", "Title=not an area",
                                            "Size=10", "[Area.2]"}));
}

TEST(ReaderCache, RunVariants) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> titles;
    std::vector<std::string> written;  // the header as it is written back
  };
  const std::vector<Case> cases = {
      {"run as the first body line",
       Crlf({"[Area.1]", "[cache]", "x=1", "[Area.2]", "Title=b"}),
       {"", "b"},
       {"[cache]", "x=1"}},
      {"run line that is also a section line",
       Crlf({"[Area.1]", "Title=a", "x [CACHE] [Area.9]", "Title=b"}),
       {"a", "b"},
       {}},
      {"two runs in a row",
       Crlf({"H", "[Area.1]", "Title=a", "[Cache]", "x=1", "[Area.2]",
             "Title=b", "[Cache.2]", "y=2", "[Area.3]", "Title=c"}),
       {"a", "b", "c"},
       {"H", "[Cache]", "x=1", "[Cache.2]", "y=2"}},
      {"run reaching the end of the file",
       Crlf({"H", "[Area.1]", "Title=a", "[Cache]", "x=1", "y=2"}),
       {"a"},
       {"H", "[Cache]", "x=1", "y=2"}},
      {"run of one line at the end of the file without terminator",
       "H\r\n[Area.1]\r\nTitle=a\r\n[Cache]",
       {"a"},
       {"H", "[Cache]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SceneryDocument doc = LoadText(c.text);
    EXPECT_EQ(Titles(doc), c.titles);
    std::string header;
    for (const std::string& line : c.written) header += line + "\r\n";
    const std::string out = WriteSceneryBytes(doc);
    EXPECT_EQ(out.substr(0, out.find("[Area.")), header);
  }
}

TEST(ReaderCache, ThousandsOfRunsFillTheHeaderAndStop) {
  std::string text = "H\r\n";
  for (int i = 1; i <= 3000; ++i)
    text += "[Area." + std::to_string(i) + "]\r\nTitle=A" + std::to_string(i) +
            "\r\n[Cache." + std::to_string(i) + "]\r\nc=" + std::to_string(i) +
            "\r\n";
  text += "[Area.9999]\r\nTitle=last\r\n";
  SceneryDocument doc = LoadText(text);
  ASSERT_EQ(doc.LastArea, 3000);
  EXPECT_EQ(doc.Areas[3000].Title, "last");
  // Slot 0 is "H"; each run then takes two slots.
  EXPECT_EQ(doc.HeaderLines[1], "[Cache.1]");
  EXPECT_EQ(doc.HeaderLines[2], "c=1");
  EXPECT_EQ(doc.HeaderLines[199], "[Cache.100]");
  EXPECT_EQ(doc.HeaderLines[200], "c=100");
  const std::string out = WriteSceneryBytes(doc);
  EXPECT_EQ(out.find("[Cache.101]"), std::string::npos);
  EXPECT_NE(out.find("\r\nTitle=A3000\r\n"), std::string::npos);
  EXPECT_NE(out.find("[Area.3001]\r\nTitle=last\r\n"), std::string::npos);
}

TEST(ReaderBounds, AtMostThreeThousandAndOneAreas) {
  ReadResult read = ReadSceneryBytes(Areas(3001));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.LastArea, 3000);
  EXPECT_EQ(read.Areas[3000].Title, "A3001");

  // A final section line opens no area, so it does not count.
  read = ReadSceneryBytes(Areas(3001) + "[Area.3002]\r\n");
  EXPECT_TRUE(read.ok) << read.error;

  read = ReadSceneryBytes(Areas(3002));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, kTooManyAreasMessage);
  EXPECT_TRUE(read.Areas.empty());
}

TEST(ReaderFiles, ReadsOnlyWhatCanBeRead) {
  TempDir dir;
  dir.Write("Scenery.cfg", Crlf({"[Area.1]", "Title=a"}));
  std::filesystem::create_directory(HostPath(dir.Path("folder.cfg")));
  EXPECT_TRUE(ReadSceneryFile(dir.Path("Scenery.cfg")).ok);
  for (const std::string& path :
       {dir.Path("folder.cfg"), dir.Path("missing.cfg"), std::string(),
        dir.Path("missing") + "/Scenery.cfg"}) {
    ReadResult read = ReadSceneryFile(path);
    EXPECT_FALSE(read.ok) << path;
    EXPECT_EQ(read.error, kReadFailureMessage) << path;
  }
}

TEST(ReaderFiles, UnreadableFileFails) {
  TempDir dir;
  dir.Write("locked.cfg", Crlf({"[Area.1]", "Title=a"}));
  namespace fs = std::filesystem;
  fs::permissions(HostPath(dir.Path("locked.cfg")), fs::perms::none);
  std::string bytes, error;
  if (ReadWholeFile(dir.Path("locked.cfg"), bytes, error)) {
    fs::permissions(HostPath(dir.Path("locked.cfg")), fs::perms::owner_all);
    GTEST_SKIP() << "this account can read a file without read permission";
  }
  EXPECT_EQ(ReadSceneryFile(dir.Path("locked.cfg")).error, kReadFailureMessage);
  fs::permissions(HostPath(dir.Path("locked.cfg")), fs::perms::owner_all);
}

#ifndef _WIN32
TEST(ReaderFiles, PipeIsRefusedWithoutWaiting) {
  TempDir dir;
  const std::string pipe = dir.Path("Scenery.cfg");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Nobody writes to the pipe: reading it would wait for ever.
  EXPECT_EQ(ReadSceneryFile(pipe).error, kReadFailureMessage);
  EXPECT_FALSE(FileExists(pipe));
}
#endif

TEST(ReaderFiles, FailedLoadLeavesTheDocumentAlone) {
  SceneryDocument doc = LoadText(Crlf({"[Area.1]", "Title=kept"}));
  doc.FileChanged = true;
  TempDir dir;
  dir.Write("bad.cfg", "no sections\r\n");
  doc.ConfigFile = dir.Path("bad.cfg");
  EXPECT_EQ(LoadDocument(doc), kReadFailureMessage);
  EXPECT_EQ(doc.Areas[0].Title, "kept");
  EXPECT_EQ(doc.LastArea, 0);
  EXPECT_TRUE(doc.FileChanged);
}

TEST(ReaderJunk, BinaryBytesNeverBreakTheReader) {
  std::mt19937 rng(20240613);
  for (int round = 0; round < 400; ++round) {
    std::string bytes(rng() % 4000, '\0');
    for (char& c : bytes) {
      const unsigned r = rng() % 100;
      if (r < 5)
        c = '\r';
      else if (r < 10)
        c = '\0';
      else
        c = static_cast<char>(rng() % 256);
    }
    // Some rounds get section lines among the junk.
    if (round % 2)
      for (int k = 0; k < 5; ++k)
        bytes.insert(rng() % (bytes.size() + 1), "\r[Area.1]\r");
    if (round % 3 == 0) bytes.insert(rng() % (bytes.size() + 1), "\r[Cache\r");
    ReadResult read = ReadSceneryBytes(bytes);
    if (!read.ok) {
      EXPECT_EQ(read.error, kReadFailureMessage);
      continue;
    }
    ASSERT_GE(read.LastArea, 0);
    SceneryDocument doc = LoadText(bytes);
    const std::string once = WriteSceneryBytes(doc);
    EXPECT_EQ(WriteSceneryBytes(LoadText(once)), once);
  }
}

TEST(ReaderJunk, NulBytesAreOrdinaryCharacters) {
  const std::string title("a\0b\0", 4);
  SceneryDocument doc =
      LoadText(std::string(1, '\0') + "\r\n[Area.1]\r\nTitle=" + title +
               "\r\nActive=" + std::string(1, '\0') + "\r\n");
  EXPECT_EQ(doc.HeaderLines[0], std::string(1, '\0'));
  EXPECT_EQ(doc.Areas[0].Title, title);
  EXPECT_EQ(doc.Areas[0].Active, std::string(1, '\0'));
  const std::string out = WriteSceneryBytes(doc);
  EXPECT_NE(out.find("Title=" + title + "\r\n"), std::string::npos);
}

TEST(ReaderFiles, LoadKeepsNothingOfTheEarlierFile) {
  TempDir dir;
  dir.Write("big.cfg", Areas(20));
  dir.Write("small.cfg", Areas(12));
  SceneryDocument doc;
  doc.ConfigFile = dir.Path("big.cfg");
  ASSERT_EQ(LoadDocument(doc), "");
  doc.Areas[15].Title = "left by an edit";
  doc.ConfigFile = dir.Path("small.cfg");
  ASSERT_EQ(LoadDocument(doc), "");
  EXPECT_EQ(doc.LastArea, 11);
  // The table holds the areas read and no more.
  ASSERT_EQ(doc.Areas.size(), 12u);
}

TEST(ReaderStates, LargeTablesKeepTheirOrderThroughASave) {
  // Numbers of four digits are read whole, so a table that the writer has
  // numbered past 999 comes back in the same order.
  std::string text = "[General]\r\n";
  for (int n = 3001; n >= 1; --n)
    text += Crlf({"[Area." + std::to_string(n) + "]",
                  "Title=Area " + std::to_string(n)});
  SceneryDocument doc = LoadText(text);
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_EQ(doc.Areas[999].Title, "Area 1000");
  const std::string written = WriteSceneryBytes(doc);
  SceneryDocument again = LoadText(written);
  EXPECT_FALSE(again.AreasSorted);
  EXPECT_EQ(again.Areas[999].Title, "Area 1000");
  EXPECT_EQ(WriteSceneryBytes(again), written);
}

// Lines of a section that match no key stay with their area, in order, and
// come back after its known lines; only blank lines and a line that would
// open a section of its own are dropped.
TEST(ReaderKeys, OtherLinesStayWithTheirArea) {
  struct Case {
    std::vector<std::string> body;
    std::vector<std::string> kept;
  };
  const std::vector<Case> cases = {
      {{"; a comment", "Title=a", "Group=3", "ID=x"},
       {"; a comment", "Group=3", "ID=x"}},
      {{" Title=b", "[Other]", "Titl=c", "[AreaInfo]"},
       {" Title=b", "[Other]", "Titl=c", "[AreaInfo]"}},
      {{"", " ", "\t", "Title=a"}, {}},         // blank lines
      {{"x [Area.7] y", "Title=a"}, {}},        // the body's first line
      {{"Local=", "Remote=", "Exclude="}, {}},  // known keys, empty values
      {{"Flatten.0=1", "Flatten.1=2", "Flatten.2=3", "Flatten.3=4",
        "Flatten.4=5", "Flatten.5=6", "Flatten.6=7", "Flatten.7=8",
        "Flatten.8=9", "Flatten.9=10", "Flatten.10=11", "; note"},
       {"; note"}},  // an eleventh flatten line is dropped as before
  };
  for (const Case& c : cases) {
    std::string text = "[Area.1]\r\n";
    for (const std::string& line : c.body) text.append(line).append("\r\n");
    SCOPED_TRACE(text);
    const SceneryDocument doc = LoadText(text + "[Area.2]\r\nTitle=z\r\n");
    ASSERT_EQ(doc.LastArea, 1);
    EXPECT_EQ(doc.Areas[0].ExtraLines, c.kept);
    EXPECT_TRUE(doc.Areas[1].ExtraLines.empty());
    // Written back, they read the same, and the text settles.
    const std::string once = WriteSceneryBytes(doc);
    EXPECT_EQ(StorageProblem(doc, once), "");
    EXPECT_EQ(WriteSceneryBytes(LoadText(once)), once);
  }
}

// The lines travel with their area through every table operation and its
// undo.
TEST(ReaderKeys, OtherLinesMoveAndComeBackWithTheirArea) {
  const SceneryDocument read =
      LoadText(Crlf({"[Area.1]", "Title=A", "; of A", "[Area.2]", "Title=B",
                     "[Area.3]", "Title=C", "Group=C", "[Area.4]", "Title=D"}));
  AreaValues edited = ValuesOf(read.Areas[2]);
  edited.Title = "C2";
  const std::vector<std::function<TableChange(SceneryDocument&)>> changes = {
      [](SceneryDocument& d) { return MoveArea(d, 2, 3); },
      [](SceneryDocument& d) { return MoveArea(d, 0, 3); },
      [](SceneryDocument& d) { return DeleteArea(d, 0); },
      [&](SceneryDocument& d) { return StoreArea(d, 2, edited); },
  };
  for (std::size_t k = 0; k < changes.size(); ++k) {
    SCOPED_TRACE(k);
    SceneryDocument doc = read;
    const TableChange change = changes[k](doc);
    for (const AreaEntry& a : doc.Areas) {
      if (a.Title == "A") {
        EXPECT_EQ(a.ExtraLines.at(0), "; of A");
      }
      if (a.Title.front() == 'C') {
        EXPECT_EQ(a.ExtraLines.at(0), "Group=C");
      }
    }
    const std::string saved = WriteSceneryBytes(doc);
    EXPECT_NE(saved.find("Title=C"), std::string::npos);
    EXPECT_EQ(StorageProblem(doc, saved), "");
    RevertChange(doc, change);
    EXPECT_TRUE(doc.Areas == read.Areas);
  }
}
