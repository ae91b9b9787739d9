// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;

namespace {

std::string LoadAndWrite(const std::string& text) {
  return WriteSceneryBytes(LoadText(text));
}

}  // namespace

// What a load followed by a save loses and changes, one case each.
TEST(RoundTrip, DocumentedLossesAndChanges) {
  struct Case {
    const char* name;
    std::string in;
    std::string out;
    bool settled = true;  // a second load and save changes nothing more
  };
  std::string longHeader, first201;
  for (int i = 0; i < 230; ++i) {
    longHeader += "h" + std::to_string(i) + "\r\n";
    if (i < 201) first201 += "h" + std::to_string(i) + "\r\n";
  }
  const std::string area1 = Crlf(
      {"[Area.001]", "Title=a", "", "Active=", "Required=", "Layer=1", ""});
  const std::vector<Case> cases = {
      {"blank body lines are dropped, other unknown ones kept at the end",
       Crlf({"[Area.001]", "; note", "Title=a", "", " \t", "Other=1",
             " Title=x"}),
       Crlf({"[Area.001]", "Title=a", "", "Active=", "Required=", "Layer=1",
             "; note", "Other=1", " Title=x", ""})},
      {"empty path values are dropped",
       Crlf({"[Area.001]", "Title=a", "Local=", "Remote="}), area1},
      {"the last line of each key wins, for the path the last with a value",
       Crlf({"[Area.001]", "Title=x", "Title=a", "Local=A", "Remote=R",
             "Local=", "Active=1", "Active="}),
       Crlf({"[Area.001]", "Title=a", "Remote=R",
             "Active=", "Required=", "Layer=1", ""})},
      {"flatten lines after the tenth are dropped, empty ones keep their place",
       Crlf({"[Area.001]", "Title=a", "Flatten.5=", "Flatten.5=b",
             "Flatten.0=c", "Flatten.0=", "Flatten.0=", "Flatten.0=",
             "Flatten.0=", "Flatten.0=", "Flatten.0=", "Flatten.0=j",
             "Flatten.0=k"}),
       Crlf({"[Area.001]", "Title=a", "", "Active=", "Required=", "Layer=1",
             "Flatten.1=b", "Flatten.2=c", "Flatten.9=j", ""}),
       false},
      {"empty exclude values are dropped",
       Crlf({"[Area.001]", "Title=a", "Exclude="}), area1},
      {"a section line as the file's last line is dropped",
       Crlf({"[Area.001]", "Title=a", "[Area.002]"}), area1},
      {"header lines beyond the 201st are dropped",
       longHeader + Crlf({"[Area.7]", "Title=a"}), first201 + area1},
      {"the header ends at [Area without the dot",
       Crlf({"keep", "[AreaInfo]", "lost", "[Area.1]", "Title=a"}),
       Crlf({"keep"}) + area1},
      {"numbers, layers and key case are rewritten",
       Crlf({"[Area.7]", "TITLE=a", "LAYER=12", "active=x", "REQUIRED=y"}),
       Crlf({"[Area.001]", "Title=a", "", "Active=x", "Required=y", "Layer=1",
             ""})},
      {"lines inside a section take the written order",
       Crlf({"[Area.1]", "Flatten.4=f", "Exclude=e", "Layer=3", "Required=r",
             "Active=y", "Texture=T", "Local=L", "Title=a"}),
       Crlf({"[Area.001]", "Title=a", "Local=L", "Texture=T", "Active=y",
             "Required=r", "Layer=1", "Exclude=e", "Flatten.0=f", ""})},
      {"line ends become CR LF, lone line feeds stay",
       "[Area.1]\rTitle=a\nb\rActive=1",
       Crlf({"[Area.001]", "Title=a\nb", "", "Active=1", "Required=", "Layer=1",
             ""})},
      {"a cache run moves to the head of the file",
       Crlf({"H", "[Area.2]", "Title=b", "[Cache]", "x=1", "[Area.1]",
             "Title=a"}),
       Crlf({"H", "[Cache]", "x=1", "[Area.001]", "Title=a", "",
             "Active=", "Required=", "Layer=1", "", "[Area.002]", "Title=b", "",
             "Active=", "Required=", "Layer=2", ""})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string once = LoadAndWrite(c.in);
    EXPECT_EQ(once, c.out);
    const std::string twice = LoadAndWrite(once);
    if (c.settled) {
      EXPECT_EQ(twice, once);
    }
    EXPECT_EQ(LoadAndWrite(twice), twice);
  }
}

TEST(RoundTrip, ValuesThatReadAsOtherLines) {
  SceneryDocument doc =
      LoadText(Crlf({"[Area.1]", "Title=[Area.5] in a title"}));
  doc.Areas[0].Active = "has [Area.9] in it";
  doc.Areas[0].Required = "and [cache too";
  const SceneryDocument back = LoadText(WriteSceneryBytes(doc));
  // The title line is its section's first line and stays a title; the
  // active line opens a section of its own, whose first line starts a cache
  // run that runs to the end of the file.
  ASSERT_EQ(back.LastArea, 1);
  EXPECT_EQ(back.Areas[0].Title, "[Area.5] in a title");
  EXPECT_EQ(back.Areas[0].Active, "");
  AreaEntry empty;
  empty.Number = "002";
  empty.Layer = 2;
  EXPECT_EQ(back.Areas[1], empty);
  EXPECT_EQ(back.HeaderLines[0], "Required=and [cache too");
}

namespace {

// Generates scenery files with everything the reader accepts, apart from the
// values that the documented changes would read as other lines.
class FileGenerator {
 public:
  explicit FileGenerator(unsigned seed) : rng_(seed) {}

  std::string File() {
    std::string text;
    const int headerLines = Pick(8) == 0 ? 195 + Pick(20) : Pick(6);
    for (int i = 0; i < headerLines; ++i) text += Value() + End();
    const int areas = 1 + Pick(Pick(10) == 0 ? 300 : 12);
    for (int a = 0; a < areas; ++a) {
      text += Pick(4) == 0 ? "x[area." : "[Area.";
      text += std::to_string(Pick(1200) - 100) + "]" + End();
      // The first body line may hold "[Area." and still be the title.
      text += Key("Title") + "=" + (Pick(4) ? Value() : "[Area.0]") + End();
      const int lines = Pick(14);
      for (int l = 0; l < lines; ++l) text += BodyLine() + End();
      if (Pick(6) == 0) {
        text += "[Cache" + Value() + End();
        for (int l = Pick(4); l > 0; --l) text += Value() + End();
      }
    }
    if (Pick(3) == 0) text += "[Area.5]" + End();
    if (Pick(2) == 0) text += "Title=unterminated";
    return text;
  }

 private:
  int Pick(int n) {
    return static_cast<int>(rng_() % static_cast<unsigned>(n));
  }

  std::string End() {
    const int r = Pick(10);
    return r < 7 ? "\r\n" : "\r";
  }

  // Any bytes but CR, "[Area", "[Cache" and "=" at a key's place.
  std::string Value() {
    static const std::string alphabet =
        "abcXYZ019 .,;:=\\-_\"\t\n\xE9\xC4\xFF\x80";
    std::string v;
    for (int n = Pick(4) == 0 ? 0 : 1 + Pick(12); n > 0; --n) {
      const int r = Pick(40);
      if (r == 0)
        v += '\0';
      else if (r == 1)
        v += '[';
      else
        v += alphabet[Pick(static_cast<int>(alphabet.size()))];
    }
    return v;
  }

  std::string Key(std::string key) {
    for (char& c : key)
      if (Pick(3) == 0) c = static_cast<char>(c ^ 0x20);
    return key;
  }

  std::string BodyLine() {
    static const char* kKeys[] = {"Title",    "Local",   "Remote",
                                  "Active",   "Layer",   "Texture",
                                  "Required", "Exclude", "Flatten.3"};
    switch (Pick(12)) {
      case 0:
        return Value();  // dropped, unless it happens to start with a key
      case 1:
        return "";
      case 2:
        return Key("Titles") + "=" + Value();
      case 3:
        return Key("Layer") + "=" + std::to_string(Pick(70000) - 35000);
      default:
        return Key(kKeys[Pick(9)]) + (Pick(8) ? "=" : "") + Value();
    }
  }

  std::mt19937 rng_;
};

// The record as a second read gives it back: flatten values close up over
// the empty entries before them.
AreaEntry AsReadBack(AreaEntry e) {
  std::array<std::string, 10> packed;
  std::size_t k = 0;
  for (const std::string& f : e.Flatten)
    if (!f.empty()) packed[k++] = f;
  e.Flatten = packed;
  return e;
}

}  // namespace

TEST(RoundTrip, GeneratedFilesReadBackTheSame) {
  FileGenerator generator(1234567);
  int sorted = 0, withCache = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string file = generator.File();
    SCOPED_TRACE(round);
    SceneryDocument doc = LoadText(file);
    ASSERT_GE(doc.LastArea, 0);
    sorted += doc.AreasSorted;
    withCache += file.find("[Cache") != std::string::npos;

    const std::string once = WriteSceneryBytes(doc);
    const SceneryDocument back = LoadText(once);
    EXPECT_FALSE(back.AreasSorted);
    ASSERT_EQ(back.LastArea, doc.LastArea);
    bool flattenMoved = false;
    for (int i = 0; i <= doc.LastArea; ++i) {
      const AreaEntry expected = AsReadBack(doc.Areas[i]);
      flattenMoved |= expected != doc.Areas[i];
      ASSERT_EQ(back.Areas[i], expected) << "area " << i;
      doc.Areas[i] = expected;
    }
    // Writing the records read back gives the bytes that the expected
    // records give, the first output itself when no flatten value moved.
    const std::string twice = WriteSceneryBytes(back);
    ASSERT_EQ(twice, WriteSceneryBytes(doc));
    if (!flattenMoved) {
      ASSERT_EQ(twice, once);
    }
  }
  // The generator must reach the cases it is meant to.
  EXPECT_GT(sorted, 1000);
  EXPECT_GT(withCache, 1000);
}
