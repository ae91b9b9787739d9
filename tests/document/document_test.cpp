#include <gtest/gtest.h>

#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_writer.h"

using namespace sceneshifter;

TEST(Reader, SortsAndRenumbers) {
  auto r = ReadSceneryBytes(
      "H\r\n[Area.3]\r\nTitle=c\r\n[Area.1]\r\nTitle=a\r\n[Area.2]\r\nTitle="
      "b\r\n");
  ASSERT_TRUE(r.ok);
  SceneryDocument doc;
  doc.Areas = r.Areas;
  doc.HeaderLines = r.HeaderLines;
  doc.LastArea = r.LastArea;
  SortAreas(doc);
  EXPECT_TRUE(doc.AreasSorted);
  EXPECT_EQ(doc.Areas[0].Title, "a");
  EXPECT_EQ(doc.Areas[0].Number, "001");
  EXPECT_EQ(TitleListEntry(doc.Areas[2]), "3        c");
}

TEST(Reader, Failures) {
  for (const char* text : {"", "[Area.001]", "a\n[Area.001]\nTitle=x"})
    EXPECT_FALSE(ReadSceneryBytes(text).ok) << text;
}

TEST(Writer, ExampleArea) {
  SceneryDocument doc;
  doc.LastArea = 0;
  auto& e = doc.Areas[0];
  e.Number = "001";
  e.Title = "Alpha";
  e.PathKey = "Local=";
  e.PathValue = "Scenery\\Alpha";
  e.Active = "True";
  e.Required = "False";
  e.Layer = 1;
  e.Flatten[0] = "5";
  doc.HeaderLines.assign(kHeaderSlots, "");
  doc.HeaderLines[0] = "[Area.001]";
  EXPECT_EQ(
      WriteSceneryBytes(doc),
      "[Area.001]\r\nTitle=Alpha\r\nLocal=Scenery\\Alpha\r\nActive=True\r\n"
      "Required=False\r\nLayer=1\r\nFlatten.0=5\r\n\r\n");
}

TEST(Paths, FileNameOf) {
  EXPECT_EQ(FileNameOf("C:\\Sim\\Scenery.cfg"), "Scenery.cfg");
  EXPECT_EQ(FileNameOf("C:Scenery.cfg"), "Scenery.cfg");
  EXPECT_EQ(FileNameOf("C:\\Sim\\"), "");
  EXPECT_EQ(FolderOf("/a/b/Scenery.cfg"), "/a/b");
}
