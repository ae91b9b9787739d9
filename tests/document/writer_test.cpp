// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;

namespace {

SceneryDocument WithHeader(std::initializer_list<std::string> lines) {
  SceneryDocument doc;
  doc.Areas.clear();
  doc.LastArea = -1;
  std::size_t h = 0;
  for (const std::string& line : lines) doc.HeaderLines[h++] = line;
  return doc;
}

AreaEntry Alpha() {
  AreaEntry e;
  e.Number = "001";
  e.Title = "Alpha";
  e.PathKey = "Local=";
  e.PathValue = "Scenery\\Alpha";
  e.Active = "True";
  e.Required = "False";
  e.Layer = 1;
  e.Flatten[0] = "5";
  return e;
}

}  // namespace

TEST(Writer, TheDocumentedExampleArea) {
  SceneryDocument doc = WithHeader({"[Area.001]"});
  doc.Areas = {Alpha()};
  doc.LastArea = 0;
  EXPECT_EQ(
      WriteSceneryBytes(doc),
      Crlf({"[Area.001]", "Title=Alpha", "Local=Scenery\\Alpha", "Active=True",
            "Required=False", "Layer=1", "Flatten.0=5", ""}));
}

TEST(Writer, EveryLineOfAFullArea) {
  SceneryDocument doc = WithHeader({"[General]", "", "[Area.001]"});
  doc.Areas.resize(2);
  doc.LastArea = 1;
  AreaEntry& e = doc.Areas[0];
  e = Alpha();
  e.PathKey = "Remote=";
  e.PathValue = "\\\\server\\x";
  e.TextureLine = "TEXTURE=Texture\\Alpha";
  e.Exclude = "exclude values";
  e.Flatten = {"", "f1", "", "", "", "", "", "", "", "f9"};
  e.Layer = -12;
  AreaEntry& bare = doc.Areas[1];
  bare.Number = "1234";
  EXPECT_EQ(WriteSceneryBytes(doc), Crlf({"[General]",
                                          "",
                                          "[Area.001]",
                                          "Title=Alpha",
                                          "Remote=\\\\server\\x",
                                          "TEXTURE=Texture\\Alpha",
                                          "Active=True",
                                          "Required=False",
                                          "Layer=-12",
                                          "Exclude=exclude values",
                                          "Flatten.1=f1",
                                          "Flatten.9=f9",
                                          "",
                                          "[Area.1234]",
                                          "Title=",
                                          "",
                                          "Active=",
                                          "Required=",
                                          "Layer=0",
                                          ""}));
}

TEST(Writer, HeaderStops) {
  struct Case {
    const char* name;
    SceneryDocument doc;
    std::string expected;
  };
  std::string all201;
  SceneryDocument full = WithHeader({});
  for (int i = 0; i < kHeaderSlots; ++i) {
    full.HeaderLines[i] = "h" + std::to_string(i);
    all201 += "h" + std::to_string(i) + "\r\n";
  }
  std::string blank201;
  for (int i = 0; i < kHeaderSlots; ++i) blank201 += "\r\n";
  const std::vector<Case> cases = {
      {"empty table: only the header",
       WithHeader({"[General]", "x=1", "[Area.001]", "stale"}),
       Crlf({"[General]", "x=1"})},
      {"first slot holds [Area", WithHeader({"[area.9]", "x"}), ""},
      {"[Area without a dot also stops", WithHeader({"a", "[AreaInfo]", "b"}),
       Crlf({"a"})},
      {"empty header lines are written", WithHeader({"", "", "[Area.1]"}),
       Crlf({"", ""})},
      {"no slot with [Area: all 201 written", full, all201},
      {"all slots empty: 201 empty lines", WithHeader({}), blank201},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WriteSceneryBytes(c.doc), c.expected);
  }
}

TEST(Writer, ValuesAreWrittenAsHeld) {
  SceneryDocument doc = WithHeader({"[Area.1]"});
  doc.Areas.resize(1);
  doc.LastArea = 0;
  doc.Areas[0].Number = "001";
  doc.Areas[0].Title = " =\"quoted\"= \xE9\xFF";
  doc.Areas[0].Active = "  ";
  const std::string out = WriteSceneryBytes(doc);
  EXPECT_NE(out.find("\r\nTitle= =\"quoted\"= \xE9\xFF\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("\r\nActive=  \r\n"), std::string::npos);
}

TEST(Writer, LoadAndWriteAFile) {
  const std::string in =
      "[General]\r\nTitle=World\r\n\r\n"
      "[Area.002]\r\nTitle=B\r\nLocal=Scenery\\B\r\nActive=True\r\n"
      "Required=False\r\nLayer=2\r\n\r\n"
      "[Area.001]\r\nTitle=A\r\nRemote=\\\\srv\\A\r\nActive=False\r\n"
      "Required=True\r\nLayer=1\r\nExclude=e\r\nFlatten.0=a\r\n\r\n";
  SceneryDocument doc = LoadText(in);
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_EQ(WriteSceneryBytes(doc),
            "[General]\r\nTitle=World\r\n\r\n"
            "[Area.001]\r\nTitle=A\r\nRemote=\\\\srv\\A\r\nActive=False\r\n"
            "Required=True\r\nLayer=1\r\nExclude=e\r\nFlatten.0=a\r\n\r\n"
            "[Area.002]\r\nTitle=B\r\nLocal=Scenery\\B\r\nActive=True\r\n"
            "Required=False\r\nLayer=2\r\n\r\n");
}

// O K's check of one area names the field that would come back otherwise,
// also when the text would start another area.
TEST(Writer, AreaStorageProblemNamesTheField) {
  struct Case {
    const char* title;
    const char* path;
    const char* flatten;
    const char* field;
  };
  const Case cases[] = {{"Alps", "Addon Scenery\\Alps", "", ""},
                        {"x[Area.2]", "a", "", ""},
                        {"Alps", "x[Area.2]", "", "Folder"},
                        {"Alps", "a\r\nActive=False", "", "Folder"},
                        {"Alps", "a", "[Area.9]", "Flatten"},
                        {"Alps\r\n[Area.5]", "a", "", "Title"}};
  for (const Case& c : cases) {
    AreaEntry area;
    area.Title = c.title;
    area.PathKey = "Local=";
    area.PathValue = c.path;
    area.Active = "True";
    area.Required = "False";
    area.Flatten[0] = c.flatten;
    EXPECT_EQ(AreaStorageProblem(area), c.field) << c.title << " " << c.path;
  }
}
