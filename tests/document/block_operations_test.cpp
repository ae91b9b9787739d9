// SPDX-License-Identifier: MIT
#include "block_operations.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::LoadText;

namespace {

// Areas titled 1 .. n, each with fields of its own so that whole records
// must move; area 4 is inactive and area 5 says "TRUE".
SceneryDocument Table(int n) {
  std::string text = "[General]\r\n";
  for (int i = 1; i <= n; ++i) {
    const std::string k = std::to_string(i);
    text += "[Area." + FormatAreaNumber(i) + "]\r\nTitle=" + k +
            "\r\nLocal=Scenery\\" + k + "\r\nActive=" +
            (i == 4   ? "False"
             : i == 5 ? "TRUE"
                      : "True") +
            "\r\nRequired=False\r\nFlatten.2=f" + k + "\r\n";
  }
  SceneryDocument doc = LoadText(text);
  doc.FileChanged = false;
  return doc;
}

std::string Titles(const SceneryDocument& doc) {
  std::string titles;
  for (int i = 0; i <= doc.LastArea; ++i)
    titles += (i ? " " : "") + doc.Areas[i].Title;
  return titles;
}

std::string ActiveTexts(const SceneryDocument& doc) {
  std::string texts;
  for (int i = 0; i <= doc.LastArea; ++i)
    texts += (i ? " " : "") + doc.Areas[i].Active;
  return texts;
}

void ExpectNumbered(const SceneryDocument& doc) {
  ASSERT_EQ(static_cast<int>(doc.Areas.size()), doc.LastArea + 1);
  for (int i = 0; i <= doc.LastArea; ++i) {
    ASSERT_EQ(doc.Areas[i].Layer, i + 1) << i;
    ASSERT_EQ(doc.Areas[i].Number, FormatAreaNumber(i + 1)) << i;
  }
}

using BlockOp = std::function<BlockChange(SceneryDocument&, std::vector<int>)>;
using SingleOp = std::function<TableChange(SceneryDocument&, int)>;

struct BlockCase {
  const char* name;
  BlockOp block;
  SingleOp single;  // the one-area form, where there is one
  std::vector<int> slots;
  const char* titles;  // the table afterwards
  std::vector<int> select;
  bool changed;
};

BlockOp Move(int target) {
  return [target](SceneryDocument& d, std::vector<int> s) {
    return MoveAreas(d, std::move(s), target);
  };
}
SingleOp MoveOne(int target) {
  return [target](SceneryDocument& d, int s) { return MoveArea(d, s, target); };
}

// Eight areas; every case checks the table, the selection, FileChanged,
// the one-area form's table, and that one revert restores every byte and a
// second makes the change again.
TEST(BlockOperations, AgainstOneAreaFormsAndUndo) {
  const std::vector<BlockCase> cases = {
      {"raise one", RaiseAreas, RaiseArea, {4}, "1 2 3 4 6 5 7 8", {5}, true},
      {"raise scattered keeps order",
       RaiseAreas,
       nullptr,
       {1, 2, 5},
       "1 4 2 3 5 7 6 8",
       {2, 3, 6},
       true},
      {"raise refused with the last",
       RaiseAreas,
       nullptr,
       {3, 7},
       "1 2 3 4 5 6 7 8",
       {3, 7},
       false},
      {"raise last alone",
       RaiseAreas,
       RaiseArea,
       {7},
       "1 2 3 4 5 6 7 8",
       {7},
       false},
      {"lower one", LowerAreas, LowerArea, {3}, "1 2 4 3 5 6 7 8", {2}, true},
      {"lower block",
       LowerAreas,
       nullptr,
       {5, 6, 7},
       "1 2 3 4 6 7 8 5",
       {4, 5, 6},
       true},
      {"lower refused at layer 3",
       LowerAreas,
       nullptr,
       {2, 6},
       "1 2 3 4 5 6 7 8",
       {2, 6},
       false},
      {"lower layer 1 alone",
       LowerAreas,
       LowerArea,
       {0},
       "1 2 3 4 5 6 7 8",
       {0},
       false},
      {"delete one", DeleteAreas, DeleteArea, {2}, "1 2 4 5 6 7 8", {1}, true},
      {"delete scattered",
       DeleteAreas,
       nullptr,
       {7, 1, 4, 1},
       "1 3 4 6 7",
       {0},
       true},
      {"delete first", DeleteAreas, DeleteArea, {0}, "2 3 4 5 6 7 8", {}, true},
      {"move one up", Move(6), MoveOne(6), {2}, "1 2 4 5 6 7 3 8", {6}, true},
      {"move block to the end",
       Move(5),
       nullptr,
       {0, 4, 5},
       "2 3 4 7 8 1 5 6",
       {5, 6, 7},
       true},
      {"move block down",
       Move(2),
       nullptr,
       {5, 6, 7},
       "1 2 6 7 8 3 4 5",
       {2, 3, 4},
       true},
      {"move block up",
       Move(5),
       nullptr,
       {3, 4, 5},
       "1 2 3 7 8 4 5 6",
       {5, 6, 7},
       true},
      {"move block past the end",
       Move(7),
       nullptr,
       {3, 4},
       "1 2 3 4 5 6 7 8",
       {},
       false},
      {"move block below layer 3",
       Move(1),
       nullptr,
       {4, 5},
       "1 2 3 4 5 6 7 8",
       {},
       false},
      {"move block in place",
       Move(3),
       nullptr,
       {3, 4, 5},
       "1 2 3 4 5 6 7 8",
       {3, 4, 5},
       false},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    SceneryDocument doc = Table(8);
    const SceneryDocument before = doc;
    const BlockChange change = c.block(doc, c.slots);
    ExpectNumbered(doc);
    EXPECT_EQ(Titles(doc), c.titles);
    EXPECT_EQ(change.select, c.select);
    EXPECT_EQ(change.Changed(), c.changed);
    if (c.changed) {
      EXPECT_TRUE(doc.FileChanged);
    }
    if (c.single) {
      SceneryDocument one = Table(8);
      c.single(one, c.slots.front());
      EXPECT_EQ(one.Areas, doc.Areas);
      EXPECT_EQ(one.FileChanged, doc.FileChanged);
    }
    if (!c.changed) continue;
    const SceneryDocument after = doc;
    const BlockChange back = BlockRevert(doc, change);
    EXPECT_EQ(doc.Areas, before.Areas);
    BlockRevert(doc, back);
    EXPECT_EQ(doc.Areas, after.Areas);
  }
}

// Only the areas whose shown state changes are written, as O K writes them.
TEST(BlockOperations, SetActiveWritesOnlyChangesAndUndoes) {
  struct Case {
    std::vector<int> slots;
    bool active;
    const char* texts;
  } cases[] = {
      {{2, 3, 4}, false, "True True False False False True True True"},
      {{3, 4}, true, "True True True True TRUE True True True"},
      {{4}, true, "True True True False TRUE True True True"},
  };
  for (const Case& c : cases) {
    SceneryDocument doc = Table(8);
    const SceneryDocument before = doc;
    const BlockChange change = SetAreasActive(doc, c.slots, c.active);
    EXPECT_EQ(ActiveTexts(doc), c.texts);
    EXPECT_EQ(change.select, c.slots);
    EXPECT_EQ(doc.FileChanged, change.Changed());
    if (!change.Changed()) continue;
    const BlockChange back = BlockRevert(doc, change);
    EXPECT_EQ(doc.Areas, before.Areas);
    BlockRevert(doc, back);
    EXPECT_EQ(ActiveTexts(doc), c.texts);
  }
}

TEST(BlockOperations, RefusedMoveNamesTheFirstAreaThatCannotGo) {
  const SceneryDocument doc = Table(8);
  int refused = -1;
  EXPECT_EQ(CheckBlockMove(doc, {6, 4}, 7, &refused), MoveRefusal::NoSuchLayer);
  EXPECT_EQ(refused, 6);
  EXPECT_EQ(CheckBlockMove(doc, {2, 7}, 1, &refused), MoveRefusal::CannotLower);
  EXPECT_EQ(refused, 2);
  EXPECT_EQ(CheckBlockMove(doc, {3, 7}, 2), MoveRefusal::None);
}

}  // namespace
