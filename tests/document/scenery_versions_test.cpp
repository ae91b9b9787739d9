// SPDX-License-Identifier: MIT
#include "scenery_versions.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "table_difference.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

std::vector<std::string> Texts(const VersionStore& store,
                               const std::string& path) {
  std::vector<std::string> texts;
  for (const SceneryVersion& v : store.List(path)) {
    std::string text, error;
    EXPECT_TRUE(store.Read(v, text, error)) << error;
    texts.push_back(text);
  }
  return texts;
}

}  // namespace

TEST(VersionStore, KeepsTheLastTwentyNewestFirst) {
  TempDir data;
  VersionStore store(data.Path("versions"));
  const std::string file = data.Path("Scenery.cfg");
  const auto second = std::chrono::system_clock::from_time_t(1800000000);
  std::string error;

  // 21 saves within one second: names -2 ... -21, which do not sort by
  // name ("-10" before "-9"), so the order must come from the time kept.
  for (int n = 1; n <= 21; ++n)
    ASSERT_TRUE(store.Keep(file, "text " + std::to_string(n), error, second))
        << error;
  std::vector<SceneryVersion> versions = store.List(file);
  ASSERT_EQ(versions.size(), 20u);
  EXPECT_TRUE(
      std::regex_match(versions[0].name, std::regex("[0-9]{8}-[0-9]{6}-21")))
      << versions[0].name;
  std::vector<std::string> expected;
  for (int n = 21; n >= 2; --n) expected.push_back("text " + std::to_string(n));
  EXPECT_EQ(Texts(store, file), expected);
  // The oldest went with its time.
  EXPECT_EQ(data.Names().count("versions"), 1u);
  EXPECT_EQ(versions[19].name, versions[0].name.substr(0, 15) + "-2");

  // A text identical to the newest is not kept twice; one that differs is,
  // and a later second orders after the names of the earlier one.
  ASSERT_TRUE(
      store.Keep(file, "text 21", error, second + std::chrono::hours(1)));
  EXPECT_EQ(store.List(file)[0].name, versions[0].name);
  ASSERT_TRUE(
      store.Keep(file, "text 3", error, second + std::chrono::hours(1)));
  EXPECT_EQ(Texts(store, file)[0], "text 3");
  EXPECT_EQ(store.List(file).size(), 20u);

  // One folder per file, whatever road names it; another file has its own.
  EXPECT_EQ(store.FolderFor(file),
            store.FolderFor(data.Path("sub/../Scenery.cfg")));
  EXPECT_NE(store.FolderFor(file), store.FolderFor(data.Path("Other.cfg")));
  EXPECT_TRUE(store.List(data.Path("Other.cfg")).empty());
}

namespace {

std::string Area(int n, const std::string& title, const std::string& folder,
                 bool active = true, const std::string& flatten = "") {
  const std::string k = std::to_string(n);
  std::string text = Crlf({"[Area.00" + k + "]", "Title=" + title,
                           folder.empty() ? "" : "Local=" + folder,
                           std::string("Active=") + (active ? "True" : "False"),
                           "Required=False", "Layer=" + k});
  if (!flatten.empty()) text += Crlf({"Flatten.0=" + flatten});
  return text;
}

// One difference as a line: what, title, layers, fields.
std::string Described(const AreaDifference& d) {
  std::string kind = d.kind == AreaDifference::Kind::Added     ? "added"
                     : d.kind == AreaDifference::Kind::Removed ? "removed"
                                                               : "kept";
  if (d.moved) kind += " moved";
  if (d.switched == AreaDifference::Switch::On) kind += " on";
  if (d.switched == AreaDifference::Switch::Off) kind += " off";
  std::string line = kind + " " + d.title + " " +
                     std::to_string(d.layerBefore) + "->" +
                     std::to_string(d.layerAfter);
  for (const FieldChange& f : d.fields)
    line += " " + f.field + ":" + f.before + "=>" + f.after;
  return line;
}

}  // namespace

TEST(DifferenceOfTables, AreaByArea) {
  const SceneryDocument before =
      LoadText(Area(1, "A", "Scenery\\A") + Area(2, "B", "Scenery\\B") +
               Area(3, "C", "Scenery\\C") + Area(4, "D", "Scenery\\D") +
               Area(5, "X", "Shared") + Area(6, "Y", "Shared") +
               Area(7, "E", "Scenery\\E") + Area(8, "Lonely", ""));
  // E raised to the top (a move; A to D only shifted), B removed, C
  // switched off, D retitled in its folder with a flatten value, the two
  // areas of one folder swapped, F added; the area without a folder pairs
  // by its title.
  const SceneryDocument after =
      LoadText(Area(1, "E", "Scenery\\E") + Area(2, "A", "Scenery\\A") +
               Area(3, "C", "Scenery\\C", false) +
               Area(4, "D2", "scenery/d/", true, "5") + Area(5, "Y", "Shared") +
               Area(6, "X", "Shared") + Area(7, "F", "Scenery\\F") +
               Area(8, "Lonely", ""));
  std::vector<std::string> lines;
  for (const AreaDifference& d : DifferenceOfTables(before, after))
    lines.push_back(Described(d));
  const std::vector<std::string> expected = {
      "kept moved E 7->1",
      "removed B 2->0",
      "kept off C 3->3",
      "kept D2 4->4 Title:D=>D2 Folder:Local=Scenery\\D=>Local=scenery/d/ "
      "Flatten.0:=>5",
      "kept moved X 5->6",
      "added F 0->7",
  };
  EXPECT_EQ(lines, expected);

  // An area put in at the top renumbers every other one: only the new one
  // differs.
  const SceneryDocument inserted =
      LoadText(Area(1, "N", "Scenery\\N") + Area(2, "A", "Scenery\\A") +
               Area(3, "B", "Scenery\\B"));
  const SceneryDocument two =
      LoadText(Area(1, "A", "Scenery\\A") + Area(2, "B", "Scenery\\B"));
  lines.clear();
  for (const AreaDifference& d : DifferenceOfTables(two, inserted))
    lines.push_back(Described(d));
  EXPECT_EQ(lines, std::vector<std::string>{"added N 0->1"});
  EXPECT_TRUE(DifferenceOfTables(inserted, inserted).empty());
}
