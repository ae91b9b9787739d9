// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenery_document.h"

using namespace sceneshifter;

namespace {

SceneryDocument WithNumbers(const std::vector<std::string>& numbers) {
  SceneryDocument doc;
  doc.Areas.resize(numbers.size());
  doc.LastArea = static_cast<std::int16_t>(numbers.size()) - 1;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    doc.Areas[i].Number = numbers[i];
    doc.Areas[i].Title = "t" + std::to_string(i);  // file position
    doc.Areas[i].Layer = 99;
  }
  return doc;
}

std::vector<std::string> Titles(const SceneryDocument& doc) {
  std::vector<std::string> titles;
  for (int i = 0; i <= doc.LastArea; ++i) titles.push_back(doc.Areas[i].Title);
  return titles;
}

}  // namespace

TEST(Sort, OrderAndFlags) {
  struct Case {
    const char* name;
    std::vector<std::string> numbers;
    std::vector<std::string> order;  // titles, i.e. file positions
    bool moved;
  };
  const std::vector<Case> cases = {
      {"already in order", {"10", "20", "30"}, {"t0", "t1", "t2"}, false},
      {"reversed", {"3", "2", "1"}, {"t2", "t1", "t0"}, true},
      {"three one two", {"3", "1", "2"}, {"t1", "t2", "t0"}, true},
      {"equal numbers keep file order",
       {"5", "5", "1", "5"},
       {"t2", "t0", "t1", "t3"},
       true},
      {"all equal", {"x", "", "0"}, {"t0", "t1", "t2"}, false},
      {"equal values around another",
       {"100", "101", "100"},
       {"t0", "t2", "t1"},
       true},
      {"signs", {"1", "-1", "+0"}, {"t1", "t2", "t0"}, true},
      {"one area", {"7"}, {"t0"}, false},
      {"no areas", {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SceneryDocument doc = WithNumbers(c.numbers);
    SortAreas(doc);
    EXPECT_EQ(Titles(doc), c.order);
    EXPECT_EQ(doc.AreasSorted, c.moved);
    EXPECT_EQ(doc.FileChanged, c.moved);
    for (int i = 0; i <= doc.LastArea; ++i) {
      EXPECT_EQ(doc.Areas[i].Layer, i + 1);
      EXPECT_EQ(doc.Areas[i].Number, FormatAreaNumber(i + 1));
    }
  }
}

TEST(Sort, FlagsAfterASecondSortAndAnEarlierChange) {
  SceneryDocument doc = WithNumbers({"2", "1"});
  SortAreas(doc);
  ASSERT_TRUE(doc.AreasSorted);
  doc.FileChanged = false;
  SortAreas(doc);  // now in order: nothing moves, nothing is flagged
  EXPECT_FALSE(doc.AreasSorted);
  EXPECT_FALSE(doc.FileChanged);
  doc.FileChanged = true;  // an edit's change survives a sort
  SortAreas(doc);
  EXPECT_TRUE(doc.FileChanged);
}

TEST(Sort, WholeRecordsMove) {
  SceneryDocument doc = WithNumbers({"2", "1"});
  doc.Areas[0].TextureLine = "Texture=T";
  doc.Areas[0].Flatten[9] = "f9";
  doc.Areas[0].Exclude = "e";
  SortAreas(doc);
  EXPECT_EQ(doc.Areas[1].TextureLine, "Texture=T");
  EXPECT_EQ(doc.Areas[1].Flatten[9], "f9");
  EXPECT_EQ(doc.Areas[1].Exclude, "e");
  EXPECT_EQ(doc.Areas[0].TextureLine, "");
}

TEST(Sort, LargestTableReversed) {
  std::vector<std::string> numbers;
  for (int i = 3001; i >= 1; --i) numbers.push_back(std::to_string(i % 1000));
  SceneryDocument doc = WithNumbers(numbers);
  SortAreas(doc);
  EXPECT_TRUE(doc.AreasSorted);
  for (int i = 1; i <= doc.LastArea; ++i)
    ASSERT_LE(std::stoi(numbers[std::stoi(doc.Areas[i - 1].Title.substr(1))]),
              std::stoi(numbers[std::stoi(doc.Areas[i].Title.substr(1))]));
  EXPECT_EQ(doc.Areas[3000].Number, "3001");
  EXPECT_EQ(doc.Areas[3000].Layer, 3001);
}

TEST(Sort, AreaNumberPattern) {
  struct Case {
    int n;
    const char* text;
  };
  for (auto c : std::initializer_list<Case>{
           {0, "000"}, {1, "001"}, {42, "042"}, {999, "999"}, {1234, "1234"}})
    EXPECT_EQ(FormatAreaNumber(c.n), c.text);
}

TEST(Sort, NumberValueOfTexts) {
  struct Case {
    std::string text;
    int value;
  };
  const std::vector<Case> cases = {
      // digits and junk
      {"012", 12},
      {"5]", 5},
      {"ab1", 0},
      {"", 0},
      {"]", 0},
      {"  7", 7},
      {"\t8x", 8},
      {"1 2", 1},
      // signs
      {"-3", -3},
      {" -3", -3},
      {"+4", 4},
      {"-", 0},
      {"+-1", 0},
      {"--1", 0},
      // decimals, halves to the even neighbour
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"-3.5", -4},
      {"0.5", 0},
      {"1.5", 2},
      {"2.51", 3},
      {".5", 0},
      {".6", 1},
      {"7.", 7},
      {".", 0},
      {"1.2.3", 1},
      // exponents
      {"1e2", 100},
      {"1E2", 100},
      {"15e-1", 2},
      {"25e-1", 2},
      {"1e", 1},
      {"1e+", 1},
      {"2e+1", 20},
      {"1.5e1", 15},
      {"e5", 0},
      // out of range: held to the 16-bit range
      {"32767", 32767},
      {"32767.5", 32767},
      {"32768", 32767},
      {"-32768", -32768},
      {"-32769", -32768},
      {"9e9", 32767},
      {"-9e9", -32768},
      {"1e400", 32767},
      {"-1e400", -32768},
      {"1e-400", 0},
      {"1e99999999999999999999", 32767},
      {"1" + std::string(400, '0'), 32767},
      {"-1" + std::string(400, '0'), -32768},
      {"0." + std::string(400, '0') + "1", 0},
      {"0." + std::string(400, '0') + "1e800", 32767},
      {std::string(400, '0') + "1", 1},
      {"0e999", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberValue(c.text), c.value) << c.text.substr(0, 40);
    std::int16_t layer = 1234;
    const bool fits = c.value > -32768 && c.value < 32767;
    if (fits) {
      EXPECT_TRUE(ParseLayerValue(c.text, layer)) << c.text.substr(0, 40);
      EXPECT_EQ(layer, c.value) << c.text.substr(0, 40);
    }
  }
}

TEST(Sort, LayerValuesThatDoNotFit) {
  for (const std::string& text :
       std::vector<std::string>{"32768", "-32769", "32767.5", "9e9", "-9e9",
                                "1e400", "1" + std::string(400, '0')}) {
    std::int16_t layer = 1234;
    EXPECT_FALSE(ParseLayerValue(text, layer)) << text.substr(0, 40);
    EXPECT_EQ(layer, 1234);
  }
  std::int16_t layer = 0;
  EXPECT_TRUE(ParseLayerValue("-32768.5", layer));  // rounds to even: fits
  EXPECT_EQ(layer, -32768);
  EXPECT_TRUE(ParseLayerValue("32766.5", layer));
  EXPECT_EQ(layer, 32766);
}

TEST(Sort, TitleListEntry) {
  AreaEntry e;
  e.Layer = 7;
  e.Title = "Seventh";
  EXPECT_EQ(TitleListEntry(e), "7        Seventh");
  e.Layer = 1234;
  e.Title = "";
  EXPECT_EQ(TitleListEntry(e), "1234        ");
}
