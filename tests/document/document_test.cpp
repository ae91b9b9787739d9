// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::LoadText;

TEST(Reader, SortsAndRenumbers) {
  auto doc = LoadText(
      "H\r\n[Area.3]\r\nTitle=c\r\n[Area.1]\r\nTitle=a\r\n[Area.2]\r\nTitle="
      "b\r\n");
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_EQ(doc.Areas[0].Title, "a");
  EXPECT_EQ(doc.Areas[0].Number, "001");
  EXPECT_EQ(TitleListEntry(doc.Areas[2]), "3        c");
}

TEST(Reader, Failures) {
  for (const char* text : {"", "[Area.001]", "a\n[Area.001]\nTitle=x"})
    EXPECT_FALSE(ReadSceneryBytes(text).ok) << text;
}

TEST(Paths, FileNameOf) {
  EXPECT_EQ(FileNameOf("C:\\Sim\\Scenery.cfg"), "Scenery.cfg");
  EXPECT_EQ(FileNameOf("C:Scenery.cfg"), "Scenery.cfg");
  EXPECT_EQ(FileNameOf("C:\\Sim\\"), "");
  EXPECT_EQ(FolderOf("/a/b/Scenery.cfg"), "/a/b");
}

TEST(Reader, KeysAndPaths) {
  auto doc = LoadText(
      "[Area.5]\r\ntitle=Name\r\nLocal=\r\nRemote=Scenery\\X\r\n"
      "Flatten.3=a\r\nFlatten.7=b\r\n Title=dropped\r\n[Area.6]\r\nTitle\r\n");
  EXPECT_EQ(doc.Areas[0].Title, "Name");
  EXPECT_EQ(doc.Areas[0].PathKey, "Remote=");
  EXPECT_EQ(doc.Areas[0].PathValue, "Scenery\\X");
  EXPECT_EQ(doc.Areas[0].Flatten[0], "a");
  EXPECT_EQ(doc.Areas[0].Flatten[1], "b");
  EXPECT_EQ(doc.Areas[1].Title, "Title");
  EXPECT_FALSE(doc.AreasSorted);
}

TEST(Reader, CacheRunMovesToHeader) {
  auto doc = LoadText(
      "H\r\n[Area.1]\r\nTitle=a\r\n[Cache]\r\nx=1\r\n[Area.2]\r\nTitle=b\r\n");
  EXPECT_EQ(doc.LastArea, 1);
  EXPECT_EQ(WriteSceneryBytes(doc).substr(0, 17), "H\r\n[Cache]\r\nx=1\r\n");
}

TEST(Sort, NumberValues) {
  struct Case {
    const char* text;
    int value;
  };
  for (auto c : std::initializer_list<Case>{{"012", 12},
                                            {"5]", 5},
                                            {"ab1", 0},
                                            {" -3", -3},
                                            {"2.5", 2},
                                            {"3.5", 4},
                                            {"1e2", 100},
                                            {"9e9", 32767},
                                            {"-9e9", -32768},
                                            {"", 0}})
    EXPECT_EQ(NumberValue(c.text), c.value) << c.text;
}
