// SPDX-License-Identifier: MIT
#include "scenery_sets.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;

namespace {

using Changes = std::vector<std::pair<int, bool>>;

// Slots 0-6: two areas sharing a folder, one without a folder, one never
// saved in a set, one with an odd flag (shown as off).
SceneryDocument Library() {
  std::string text = "[General]\r\n";
  const struct {
    const char* title;
    const char* path;  // the whole line; empty for none
    const char* active;
  } areas[] = {
      {"France", "Local=Addon Scenery\\France", "True"},
      {"Alps", "Local=Addon Scenery\\Alps", "FALSE"},
      {"Shared A", "Local=Addon Scenery\\Shared", "True"},
      {"Shared B", "Local=addon scenery/shared/", "TRUE"},
      {"Loose", "", "True"},
      {"New", "Local=Addon Scenery\\New", "True"},
      {"Odd", "Local=Addon Scenery\\Odd", "yes"},
  };
  int n = 0;
  for (const auto& a : areas) {
    text += Crlf({"[Area." + FormatAreaNumber(++n) + "]",
                  std::string("Title=") + a.title, a.path,
                  std::string("Active=") + a.active, "Required=False"});
  }
  SceneryDocument doc = LoadText(text);
  doc.FileChanged = false;
  return doc;
}

}  // namespace

TEST(ScenerySets, PlanMatchesAreasAndCountsOnlyChanges) {
  const struct Case {
    const char* what;
    std::vector<SetArea> set;
    Changes changes;
    int notInSet;
  } cases[] = {
      {"case and slash variants of a folder",
       {{"ADDON SCENERY/FRANCE/", "france", false},
        {"Addon Scenery/Alps", "Alps", true}},
       {{0, false}, {1, true}},
       5},
      {"a shared folder pairs by title",
       {{"Addon Scenery\\Shared", "Shared B", false},
        {"Addon Scenery\\Shared", "Shared A", true}},
       {{3, false}},
       5},
      {"an area without a folder pairs by title only, and a title alone "
       "pairs no area with a folder",
       {{"", "LOOSE", false},
        {"Addon Scenery\\Loose", "Loose", true},
        {"", "France", false}},
       {{4, false}},
       6},
      {"an odd flag counts as off",
       {{"Addon Scenery\\Odd", "Odd", false}, {"Addon Scenery\\New", "", true}},
       {},
       5},
  };
  const SceneryDocument doc = Library();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SetPlan plan = PlanSet(doc, {"s", c.set});
    EXPECT_EQ(plan.changes, c.changes);
    EXPECT_EQ(plan.notInSet, c.notInSet);
  }
  // The table's own state is no change at all.
  const SetPlan same = PlanSet(doc, SetOfDocument(doc, "now"));
  EXPECT_TRUE(same.changes.empty());
  EXPECT_EQ(same.notInSet, 0);
}

TEST(ScenerySets, ApplyWritesOnlyTheChangedFlags) {
  SceneryDocument doc = Library();
  ScenerySet set = SetOfDocument(doc, "all off");
  for (SetArea& a : set.areas) a.active = false;
  const SetPlan plan = PlanSet(doc, set);
  EXPECT_EQ(ApplySetChanges(doc, plan.changes), 5);
  const char* const expected[] = {"False", "FALSE", "False", "False",
                                  "False", "False", "yes"};
  for (int i = 0; i < doc.AreaCount(); ++i)
    EXPECT_EQ(doc.Areas[i].Active, expected[i]) << i;
  EXPECT_TRUE(doc.FileChanged);
}

TEST(ScenerySets, Names) {
  for (const char* good : {"Summer", "  Europe only \t", "\xC3\x89t\xC3\xA9"})
    EXPECT_EQ(SetNameProblem(good), "") << good;
  // Blank; a line break or tab would break the one-name-a-line lists; a C1
  // control; not UTF-8.
  for (const char* bad : {"", "   ", "a\nb", "a\tb", "\xC2\x85", "caf\xE9"})
    EXPECT_NE(SetNameProblem(bad), "") << bad;
}
