#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "scenery_reader.h"
#include "scenery_writer.h"

namespace sceneshifter {
void PrintTo(const AreaEntry& a, std::ostream* os) {
  auto q = [](const std::string& s) { return "\"" + s + "\""; };
  *os << "{Number " << q(a.Number) << ", Title " << q(a.Title) << ", Path "
      << q(a.PathKey) << q(a.PathValue) << ", Texture " << q(a.TextureLine)
      << ", Active " << q(a.Active) << ", Layer " << a.Layer << ", Required "
      << q(a.Required) << ", Exclude " << q(a.Exclude) << ", Flatten";
  for (const auto& f : a.Flatten) *os << " " << q(f);
  *os << "}";
}
}  // namespace sceneshifter

using namespace sceneshifter;

namespace {

// A random scenery text: headers, areas with keys in any order and case,
// unknown and repeated keys, cache runs, odd bytes in values.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  std::string File() {
    std::string text;
    const int headers = Pick(0, 6);
    for (int i = 0; i < headers; ++i) text += Value() + End();
    const int areas = Pick(1, 30);
    for (int a = 0; a < areas; ++a) {
      text += Pick(0, 1) ? "[Area." : "[area.";
      text += std::to_string(Pick(-5, 1200)) + "]" + End();
      const int lines = Pick(0, 16);
      for (int l = 0; l < lines; ++l) text += KeyLine() + End();
      if (Pick(0, 9) == 0) {
        text += "[Cache]" + End();
        for (int c = Pick(0, 3); c > 0; --c) text += "Entry=" + Value() + End();
      }
    }
    return text;
  }

 private:
  int Pick(int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng_);
  }
  std::string End() {
    switch (Pick(0, 5)) {
      case 0:
        return "\r";
      default:
        return "\r\n";
    }
  }
  std::string Value() {
    std::string v;
    for (int n = Pick(0, 12); n > 0; --n) {
      char c = static_cast<char>(Pick(1, 255));
      if (c == '\r') c = 'r';
      v += c;
    }
    // A value never holds a section or cache mark: its line would be one.
    for (const char* mark : {"[Area", "[area", "[AREA", "[Cache", "[cache"})
      for (auto p = v.find(mark); p != std::string::npos; p = v.find(mark))
        v[p] = '(';
    return v;
  }
  std::string KeyLine() {
    static const char* keys[] = {
        "Title=",     "TITLE=",    "Titles=",  "Local=",   "Remote=",
        "Active=",    "Required=", "Layer=",   "Exclude=", "Flatten.3=",
        "flatten.0=", "Texture=",  "Unknown=", "Lo=",      ""};
    std::string line = keys[Pick(0, 14)];
    if (line == "Layer=") return line + std::to_string(Pick(-40000, 40000));
    line += Value();
    if (IsMark(line)) return "Other=1";
    return line;
  }
  static bool IsMark(const std::string& line) {
    std::string lower;
    for (char c : line)
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("[area") != std::string::npos ||
           lower.find("[cache") != std::string::npos;
  }
  std::mt19937 rng_;
};

SceneryDocument Loaded(const std::string& text, bool& ok) {
  ReadResult r = ReadSceneryBytes(text);
  ok = r.ok;
  SceneryDocument doc;
  if (!ok) return doc;
  doc.HeaderLines = std::move(r.HeaderLines);
  doc.Areas = std::move(r.Areas);
  doc.LastArea = r.LastArea;
  SortAreas(doc);
  return doc;
}

// The writer leaves out empty flatten values, so the ones after them move
// up a place: the one change a second reading shows.
AreaEntry Compacted(AreaEntry a) {
  std::stable_partition(a.Flatten.begin(), a.Flatten.end(),
                        [](const std::string& f) { return !f.empty(); });
  return a;
}
bool HasFlattenGap(const AreaEntry& a) { return Compacted(a) != a; }

TEST(RoundTrip, ReadWriteReadKeepsEveryRecord) {
  int checked = 0;
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    const std::string text = Generator(seed).File();
    bool ok = false;
    const SceneryDocument first = Loaded(text, ok);
    if (!ok) continue;  // e.g. a section line as the file's last line
    ++checked;
    const std::string written = WriteSceneryBytes(first);
    bool okAgain = false;
    const SceneryDocument second = Loaded(written, okAgain);
    ASSERT_TRUE(okAgain) << "seed " << seed;
    ASSERT_EQ(second.LastArea, first.LastArea) << "seed " << seed;
    EXPECT_FALSE(second.AreasSorted) << "seed " << seed;
    bool gaps = false;
    for (int i = 0; i <= first.LastArea; ++i) {
      gaps = gaps || HasFlattenGap(first.Areas[i]);
      ASSERT_EQ(second.Areas[i], Compacted(first.Areas[i]))
          << "seed " << seed << " area " << i;
    }
    const std::string rewritten = WriteSceneryBytes(second);
    if (!gaps) ASSERT_EQ(rewritten, written) << "seed " << seed;
    // From the second writing on, nothing changes any more.
    bool okThird = false;
    ASSERT_EQ(WriteSceneryBytes(Loaded(rewritten, okThird)), rewritten)
        << "seed " << seed;
  }
  EXPECT_GT(checked, 2000);
}

}  // namespace
