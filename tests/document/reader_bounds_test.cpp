#include <gtest/gtest.h>

#include "scenery_reader.h"
#include "scenery_writer.h"
#include "test_files.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

namespace {

ReadResult Read(const std::string& text) { return ReadSceneryBytes(text); }

SceneryDocument Sorted(const std::string& text) { return Load(text); }

TEST(ReaderBounds, AreaLimit) {
  const ReadResult full = Read(SceneryOf(3001));
  ASSERT_TRUE(full.ok);
  EXPECT_EQ(full.LastArea, 3000);
  const ReadResult over = Read(SceneryOf(3002));
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.error, kTooManyAreasMessage);
}

TEST(ReaderBounds, LargeTablesKeepTheirOrderThroughASave) {
  // Numbers of four digits are read whole, so a table the writer has
  // numbered past 999 comes back in the same order.
  SceneryDocument doc = Sorted(SceneryOf(3001, true));
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_EQ(doc.Areas[999].Title, "Area 1000");
  const std::string written = WriteSceneryBytes(doc);
  SceneryDocument again = Sorted(written);
  EXPECT_FALSE(again.AreasSorted);
  EXPECT_EQ(again.Areas[999].Title, "Area 1000");
  EXPECT_EQ(WriteSceneryBytes(again), written);
}

TEST(ReaderBounds, SectionNumbers) {
  struct Case {
    const char* line;
    const char* number;
  };
  for (const Case& c : {Case{"[Area.012]", "012"}, Case{"[Area.5]", "5]"},
                        Case{"[Area.1234]", "1234"}, Case{"[area.77", "77"},
                        Case{"[Area.12a4]", "12a"}, Case{"[Area.]", "]"}}) {
    const ReadResult r = Read(std::string(c.line) + "\r\nTitle=x\r\n");
    ASSERT_TRUE(r.ok) << c.line;
    EXPECT_EQ(r.Areas[0].Number, c.number) << c.line;
  }
}

TEST(ReaderBounds, HeaderSlotsAndFlattenLines) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "Header " + std::to_string(i) + "\r\n";
  text += "[Area.001]\r\nTitle=t\r\n";
  for (int k = 0; k < 14; ++k)
    text += "Flatten.9=f" + std::to_string(k) + "\r\n";
  const ReadResult r = Read(text);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.HeaderLines.size(), std::size_t(kHeaderSlots));
  EXPECT_EQ(r.HeaderLines[200], "Header 200");
  EXPECT_EQ(r.Areas[0].Flatten[9], "f9");
  SceneryDocument doc = Sorted(text);
  const std::string out = WriteSceneryBytes(doc);
  // The header beyond its slots, and flatten lines past the tenth, are gone.
  EXPECT_NE(out.find("Header 200\r\n[Area.001]"), std::string::npos);
  EXPECT_EQ(out.find("f10"), std::string::npos);
  EXPECT_NE(out.find("Flatten.9=f9\r\n"), std::string::npos);
}

TEST(ReaderBounds, ThousandsOfCacheLines) {
  std::string text = "H\r\n[Area.001]\r\nTitle=a\r\n[Cache]\r\n";
  for (int i = 0; i < 5000; ++i) text += "c" + std::to_string(i) + "=1\r\n";
  text += "[Area.002]\r\nTitle=b\r\n";
  const ReadResult r = Read(text);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.LastArea, 1);
  EXPECT_EQ(r.HeaderLines[1], "[Cache]");
  EXPECT_EQ(r.HeaderLines[200], "c198=1");
  EXPECT_EQ(r.Areas[1].Title, "b");
}

TEST(ReaderBounds, CacheRunToTheEnd) {
  const ReadResult r =
      Read("H\r\n[Area.001]\r\nTitle=a\r\n[Cache]\r\nx=1\r\ny=2\r\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.LastArea, 0);
  EXPECT_EQ(r.Areas[0].Title, "a");
  EXPECT_EQ(r.HeaderLines[1], "[Cache]");
  EXPECT_EQ(r.HeaderLines[3], "y=2");
}

TEST(ReaderBounds, JunkIsSafe) {
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) & 0xff);
  for (const std::string& text :
       {junk, std::string(5000, '\0'), std::string("[Area.1]\0\r\n\0", 12),
        junk + "\r\n[Area.1]\r\nTitle=" + junk + "\r\n"}) {
    const ReadResult r = Read(text);
    if (r.ok) {
      SceneryDocument doc;
      doc.HeaderLines = r.HeaderLines;
      doc.Areas = r.Areas;
      doc.LastArea = r.LastArea;
      SortAreas(doc);
      EXPECT_FALSE(WriteSceneryBytes(doc).empty());
    } else {
      EXPECT_EQ(r.error, kReadFailureMessage);
    }
  }
  const ReadResult nul = Read(std::string("[Area.1]\r\nTitle=a\0b\r\n", 21));
  ASSERT_TRUE(nul.ok);
  EXPECT_EQ(nul.Areas[0].Title, std::string("a\0b", 3));
}

TEST(ReaderBounds, VeryLongLine) {
  const std::string title(40 * 1024 * 1024, 'x');
  const ReadResult r = Read("[Area.1]\r\nTitle=" + title + "\r\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.Areas[0].Title.size(), title.size());
  const ReadResult noEnd = Read(std::string(40 * 1024 * 1024, 'y'));
  EXPECT_FALSE(noEnd.ok);
}

TEST(ReaderBounds, WhatIsNotAFile) {
  TempFolder dir;
  std::filesystem::create_directory(dir.File("Scenery.cfg"));
  for (const std::string& path :
       {dir.File("Scenery.cfg"), dir.File("missing.cfg"), std::string()}) {
    const ReadResult r = ReadSceneryFile(path);
    EXPECT_FALSE(r.ok) << path;
    EXPECT_EQ(r.error, kReadFailureMessage);
  }
  SceneryDocument doc;
  doc.Areas[0].Title = "kept";
  doc.ConfigFile = dir.File("missing.cfg");
  EXPECT_EQ(LoadDocument(doc), kReadFailureMessage);
  EXPECT_EQ(doc.Areas[0].Title, "kept");
}

TEST(Writer, EmptyTableAndHeaderStops) {
  SceneryDocument doc = Sorted("A\r\n[Areas]\r\nB\r\n[Area.1]\r\nTitle=x\r\n");
  // The header stops at its first line that holds "[Area".
  EXPECT_EQ(WriteSceneryBytes(doc).substr(0, 20), "A\r\n[Area.001]\r\nTitle");
  doc.LastArea = -1;
  EXPECT_EQ(WriteSceneryBytes(doc), "A\r\n");
}

TEST(Sort, StableAndFlags) {
  SceneryDocument doc = Sorted(
      "[Area.5]\r\nTitle=first five\r\n[Area.2]\r\nTitle=two\r\n[Area.5]\r\n"
      "Title=second five\r\n[Area.-1]\r\nTitle=minus\r\n");
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_TRUE(doc.FileChanged);
  const char* order[] = {"minus", "two", "first five", "second five"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(doc.Areas[i].Title, order[i]);
    EXPECT_EQ(doc.Areas[i].Layer, i + 1);
    EXPECT_EQ(doc.Areas[i].Number, FormatAreaNumber(i + 1));
  }
  SceneryDocument inOrder =
      Sorted("[Area.10]\r\nTitle=a\r\n[Area.20]\r\nTitle=b\r\n");
  EXPECT_FALSE(inOrder.AreasSorted);
  EXPECT_FALSE(inOrder.FileChanged);
  EXPECT_EQ(inOrder.Areas[1].Number, "002");
  EXPECT_EQ(FormatAreaNumber(7), "007");
  EXPECT_EQ(FormatAreaNumber(3001), "3001");
}

}  // namespace
