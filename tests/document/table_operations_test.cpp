// SPDX-License-Identifier: MIT
#include "table_operations.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::LoadText;
using Kind = TableChange::Kind;

namespace {

// A loaded table of `n` areas titled 1, 2, 3 ..., every other one with a
// texture line and flatten values, so that moving whole records shows.
SceneryDocument Table(int n) {
  std::string text = "[General]\r\n";
  for (int i = 1; i <= n; ++i) {
    const std::string k = std::to_string(i);
    text += "[Area." + FormatAreaNumber(i) + "]\r\nTitle=" + k +
            "\r\nLocal=Scenery\\" + k + "\r\nActive=TRUE\r\nRequired=x" + k +
            "\r\n";
    if (i % 2 == 0)
      text += "Texture=Tex" + k + "\r\nExclude=e" + k + "\r\nFlatten.4=f" + k +
              "\r\n";
  }
  if (n == 0) text += "[Area.001]\r\nTitle=gone\r\n";
  SceneryDocument doc = LoadText(text);
  if (n == 0) RemoveArea(doc, 0);
  doc.FileChanged = false;
  return doc;
}

std::string Titles(const SceneryDocument& doc) {
  std::string titles;
  for (int i = 0; i <= doc.LastArea; ++i)
    titles += (i ? " " : "") + doc.Areas[i].Title;
  return titles;
}

// The table's invariant: its size and LastArea in step, every slot
// numbered and layered by position, nothing a sort would move.
void ExpectInOrder(const SceneryDocument& doc) {
  ASSERT_EQ(static_cast<int>(doc.Areas.size()), doc.LastArea + 1);
  ASSERT_LE(doc.Areas.size(), static_cast<std::size_t>(kAreaSlots));
  for (int i = 0; i <= doc.LastArea; ++i) {
    ASSERT_EQ(doc.Areas[i].Layer, i + 1) << i;
    ASSERT_EQ(doc.Areas[i].Number, FormatAreaNumber(i + 1)) << i;
  }
  SceneryDocument sorted = doc;
  SortAreas(sorted);
  EXPECT_FALSE(sorted.AreasSorted);
}

void ExpectSameTable(const SceneryDocument& a, const SceneryDocument& b) {
  ASSERT_EQ(a.LastArea, b.LastArea);
  EXPECT_TRUE(a.Areas == b.Areas);
  EXPECT_EQ(WriteSceneryBytes(a), WriteSceneryBytes(b));
}

AreaValues Values(const std::string& title) {
  AreaValues v;
  v.Title = title;
  v.PathKey = "Remote=";
  v.PathValue = "Scenery\\" + title;
  v.Active = "True";
  v.Required = "False";
  v.Flatten[9] = "f";
  return v;
}

}  // namespace

TEST(TableOperations, EachCommandAsItsAlgorithm) {
  struct Case {
    const char* name;
    std::function<TableChange(SceneryDocument&)> op;
    const char* titles;  // after, of the five areas 1 to 5
    Kind kind;
    int select;
    bool fileChanged;
    int first, last;  // the list entries that read differently
  };
  const Case cases[] = {
      {"raise slot 2", [](auto& d) { return RaiseArea(d, 2); }, "1 2 4 3 5",
       Kind::Moved, 3, true, 2, 3},
      {"lower slot 3", [](auto& d) { return LowerArea(d, 3); }, "1 2 4 3 5",
       Kind::Moved, 2, true, 2, 3},
      {"lower slot 0", [](auto& d) { return LowerArea(d, 0); }, "1 2 3 4 5",
       Kind::None, 0, true, 0, -1},
      {"lower slot 2", [](auto& d) { return LowerArea(d, 2); }, "1 2 3 4 5",
       Kind::None, 2, true, 0, -1},
      {"raise the last", [](auto& d) { return RaiseArea(d, 4); }, "1 2 3 4 5",
       Kind::None, 4, true, 0, -1},
      {"raise nothing selected", [](auto& d) { return RaiseArea(d, -1); },
       "1 2 3 4 5", Kind::None, -1, false, 0, -1},
      {"delete slot 2", [](auto& d) { return DeleteArea(d, 2); }, "1 2 4 5",
       Kind::Removed, 1, true, 2, 3},
      {"delete the last", [](auto& d) { return DeleteArea(d, 4); }, "1 2 3 4",
       Kind::Removed, 3, true, 4, 3},
      {"delete the first", [](auto& d) { return DeleteArea(d, 0); }, "2 3 4 5",
       Kind::Removed, -1, true, 0, 3},
      {"delete nothing selected", [](auto& d) { return DeleteArea(d, 5); },
       "1 2 3 4 5", Kind::None, -1, false, 0, -1},
      {"store", [](auto& d) { return StoreArea(d, 1, Values("X")); },
       "1 X 3 4 5", Kind::Rewritten, 1, true, 1, 1},
      {"store what it holds",
       [](auto& d) { return StoreArea(d, 1, ValuesOf(d.Areas[1])); },
       "1 2 3 4 5", Kind::None, 1, true, 0, -1},
      {"append with the number Add proposes",
       [](auto& d) { return AppendArea(d, "006", Values("N")); }, "1 2 3 4 5 N",
       Kind::Inserted, 5, true, 6, 5},
      {"append carrying area 2's number",
       [](auto& d) { return AppendArea(d, "002", Values("N")); }, "1 2 N 3 4 5",
       Kind::Inserted, 5, true, 3, 5},
      {"move layer 5 to layer 3", [](auto& d) { return MoveArea(d, 4, 2); },
       "1 2 5 3 4", Kind::Moved, 2, true, 2, 4},
      {"move layer 1 to layer 5", [](auto& d) { return MoveArea(d, 0, 4); },
       "2 3 4 5 1", Kind::Moved, 4, true, 0, 4},
      {"move below layer 3", [](auto& d) { return MoveArea(d, 4, 1); },
       "1 2 3 4 5", Kind::None, -1, false, 0, -1},
      {"move layer 3 lower", [](auto& d) { return MoveArea(d, 2, 1); },
       "1 2 3 4 5", Kind::None, -1, false, 0, -1},
      {"move past the end", [](auto& d) { return MoveArea(d, 1, 5); },
       "1 2 3 4 5", Kind::None, -1, false, 0, -1},
      {"move to its own layer", [](auto& d) { return MoveArea(d, 3, 3); },
       "1 2 3 4 5", Kind::None, 3, false, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SceneryDocument start = Table(5);
    SceneryDocument doc = start;
    const TableChange change = c.op(doc);
    EXPECT_EQ(Titles(doc), c.titles);
    EXPECT_EQ(change.kind, c.kind);
    EXPECT_EQ(change.select, c.select);
    EXPECT_EQ(doc.FileChanged, c.fileChanged);
    EXPECT_EQ(change.first, c.first);
    EXPECT_EQ(change.last, c.last);
    ExpectInOrder(doc);
    if (!change.Changed()) ExpectSameTable(doc, start);
    // Taking the change back gives the table as it was, to the byte.
    RevertChange(doc, change);
    ExpectSameTable(doc, start);
  }
}

TEST(TableOperations, AreasMoveWholeAndFieldsStayPut) {
  SceneryDocument doc = Table(6);
  const AreaEntry second = doc.Areas[1];  // has texture, exclude, flatten
  RaiseArea(doc, 1);
  AreaEntry moved = doc.Areas[2];
  EXPECT_EQ(moved.Number, "003");
  EXPECT_EQ(moved.Layer, 3);
  moved.Number = second.Number;
  moved.Layer = second.Layer;
  EXPECT_TRUE(moved == second);

  // O K writes the panel's values and nothing else.
  AreaEntry before = doc.Areas[2];
  before.Spare = "spare";
  doc.Areas[2].Spare = "spare";
  StoreArea(doc, 2, Values("Stored"));
  const AreaEntry& stored = doc.Areas[2];
  EXPECT_EQ(stored.Title, "Stored");
  EXPECT_EQ(stored.Flatten[9], "f");
  EXPECT_EQ(stored.Flatten[4], "");
  for (auto field :
       {&AreaEntry::Number, &AreaEntry::TextureLine, &AreaEntry::Spare})
    EXPECT_EQ(stored.*field, before.*field);
  EXPECT_EQ(stored.Layer, before.Layer);

  // A new area carries nothing of an earlier one.
  DeleteArea(doc, 5);
  AppendArea(doc, "006", Values("New"));
  EXPECT_EQ(doc.Areas[5].TextureLine, "");
  EXPECT_EQ(doc.Areas[5].Number, "006");
}

TEST(TableOperations, FullAndEmptyTables) {
  SceneryDocument full = Table(kAreaSlots);
  EXPECT_FALSE(AppendArea(full, "3002", Values("N")).Changed());
  EXPECT_FALSE(InsertArea(full, 0, AreaEntry()).Changed());
  EXPECT_FALSE(full.FileChanged);
  EXPECT_EQ(full.LastArea, 3000);

  SceneryDocument empty = Table(0);
  EXPECT_EQ(empty.LastArea, -1);
  for (auto op : {RaiseArea, LowerArea, DeleteArea})
    EXPECT_FALSE(op(empty, 0).Changed());
  EXPECT_FALSE(MoveArea(empty, 0, 0).Changed());
  EXPECT_EQ(MoveRefusalText(CheckMove(empty, 0, 0), empty, 0, 0),
            "There is no area at layer 1: there are no areas.");
  const TableChange added = AppendArea(empty, "001", Values("Only"));
  EXPECT_EQ(added.select, 0);
  EXPECT_EQ(Titles(empty), "Only");
  ExpectInOrder(empty);
}

TEST(TableOperations, MoveRefusals) {
  const SceneryDocument doc = Table(5);
  struct Case {
    int slot, target;
    MoveRefusal refusal;
    const char* text;
  };
  const Case cases[] = {
      {4, 2, MoveRefusal::None, ""},
      {0, 4, MoveRefusal::None, ""},
      {5, 1, MoveRefusal::NoSuchArea,
       "There is no area at layer 6: the layers go from 1 to 5."},
      {1, 5, MoveRefusal::NoSuchLayer,
       "There is no layer 6: the layers go from 1 to 5."},
      {1, -1, MoveRefusal::NoSuchLayer,
       "There is no layer 0: the layers go from 1 to 5."},
      {2, 1, MoveRefusal::CannotLower,
       "The areas at layers 1 to 3 cannot be lowered."},
      {4, 1, MoveRefusal::BelowLayerThree,
       "An area cannot be lowered below layer 3."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckMove(doc, c.slot, c.target), c.refusal)
        << c.slot << " to " << c.target;
    EXPECT_EQ(MoveRefusalText(c.refusal, doc, c.slot, c.target), c.text);
  }
}

// For random tables and random series of operations: taking back every
// change in turn gives the starting table byte for byte, and making them
// again gives the final one; a Move gives what its presses of Raise or
// Lower give, and is refused exactly when one of those presses would not
// move.
TEST(TableOperations, PropertiesOfRandomSeries) {
  std::mt19937 random(20240609);
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
  };
  for (int round = 0; round < 300; ++round) {
    const int n = round == 0 ? kAreaSlots : pick(0, 12);
    const SceneryDocument start = Table(n);
    SceneryDocument doc = start;
    std::vector<TableChange> steps;
    for (int s = 0; s < 25; ++s) {
      const int count = doc.LastArea + 1;
      const int slot = pick(-1, count);
      TableChange change;
      switch (pick(0, 5)) {
        case 0:
          change = RaiseArea(doc, slot);
          break;
        case 1:
          change = LowerArea(doc, slot);
          break;
        case 2:
          change = DeleteArea(doc, slot);
          break;
        case 3:
          change = StoreArea(doc, slot, Values("s" + std::to_string(s)));
          break;
        case 4:
          change = AppendArea(doc, FormatAreaNumber(pick(0, count + 1)),
                              Values("a" + std::to_string(s)));
          break;
        default: {
          const int target = pick(-1, count);
          SceneryDocument pressed = doc;
          int at = slot;
          bool stopped = at < 0 || at >= count || target < 0 || target >= count;
          while (!stopped && at != target) {
            const TableChange press =
                at < target ? RaiseArea(pressed, at) : LowerArea(pressed, at);
            stopped = !press.Changed();
            at = press.select;
          }
          const bool refused =
              CheckMove(doc, slot, target) != MoveRefusal::None;
          ASSERT_EQ(stopped, refused) << slot << " to " << target;
          change = MoveArea(doc, slot, target);
          if (!stopped) ExpectSameTable(doc, pressed);
        }
      }
      ExpectInOrder(doc);
      if (change.Changed()) steps.push_back(std::move(change));
    }
    const SceneryDocument end = doc;
    std::vector<TableChange> undone;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
      undone.push_back(RevertChange(doc, *it));
    ExpectSameTable(doc, start);
    for (auto it = undone.rbegin(); it != undone.rend(); ++it)
      RevertChange(doc, *it);
    ExpectSameTable(doc, end);
    if (::testing::Test::HasFailure()) FAIL() << "round " << round;
  }
}

// A typed value with a control character would split its line for other
// readers; one that the area already held came from the file and is kept.
TEST(TableOperations, ControlCharactersInTypedValues) {
  AreaValues held = Values("a");
  held.Exclude = "x\ty";  // as read
  struct Case {
    std::function<void(AreaValues&)> type;
    const char* field;
  };
  const std::vector<Case> cases = {
      {[](AreaValues&) {}, ""},
      {[](AreaValues& v) { v.Title = "A\nB"; }, "Title"},
      {[](AreaValues& v) { v.Title = "A\rB"; }, "Title"},
      {[](AreaValues& v) { v.PathValue = "a\tb"; }, "Folder"},
      {[](AreaValues& v) { v.PathValue = std::string("a\0b", 3); }, "Folder"},
      {[](AreaValues& v) { v.Exclude = "1\x7F"; }, "Exclude"},
      {[](AreaValues& v) { v.Exclude = "x\ty "; }, "Exclude"},
      {[](AreaValues& v) { v.Flatten[3] = "\x1B"; }, "Flatten 3"},
      {[](AreaValues& v) { v.Title = "caf\xE9 \x80 \x9D ~"; }, ""},
      {[](AreaValues& v) { v.Active = "\t"; }, ""},  // never typed
  };
  for (const Case& c : cases) {
    AreaValues typed = held;
    c.type(typed);
    EXPECT_EQ(ControlCharacterField(typed, held), c.field) << c.field;
  }
  EXPECT_EQ(ControlCharacterField(held, AreaValues{}), "Exclude");
}
