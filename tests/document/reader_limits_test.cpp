// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "scenery_reader.h"
#include "scenery_writer.h"
#include "test_support.h"

// Every allocation of this program is counted, so that a test can see the
// most memory a read held at once.
namespace {
std::atomic<std::size_t> gLive{0}, gPeak{0};
constexpr std::size_t kPrefix = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
  void* block = std::malloc(size + kPrefix);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const std::size_t live = gLive += size;
  std::size_t peak = gPeak;
  while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
  }
  return static_cast<char*>(block) + kPrefix;
}

void Release(void* p) noexcept {
  if (!p) return;
  void* block = static_cast<char*>(p) - kPrefix;
  gLive -= *static_cast<std::size_t*>(block);
  std::free(block);
}

// Peak memory above what was held when the measurement began.
class PeakMeter {
 public:
  PeakMeter() : base_(gLive) { gPeak = base_; }
  std::size_t Peak() const { return gPeak - base_; }

 private:
  std::size_t base_;
};
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

using namespace sceneshifter;
using sceneshifter::testing::TempDir;

namespace {
// Large enough to show that nothing is quadratic or copied over and over.
constexpr std::size_t kLineBytes = std::size_t{100} << 20;
constexpr std::size_t kSlack = std::size_t{8} << 20;

std::string LongLine() {
  std::string line(kLineBytes, 'x');
  // Near misses of the section and cache texts all along the line.
  for (std::size_t i = 0; i + 16 < line.size(); i += 4099)
    line.replace(i, 12, "[Are.a[Cach[");
  return line;
}
}  // namespace

TEST(ReaderLimits, HugeTitleLineIsReadWhole) {
  TempDir dir;
  {
    const std::string text =
        "H\r\n[Area.1]\r\nTitle=" + LongLine() + "\r\nActive=True\r\n";
    dir.Write("Scenery.cfg", text);
  }
  PeakMeter meter;
  ReadResult read = ReadSceneryFile(dir.Path("Scenery.cfg"));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.Areas[0].Title.size(), kLineBytes);
  EXPECT_EQ(read.Areas[0].Active, "True");
  // The file's bytes and one copy of the title.
  EXPECT_LT(meter.Peak(), 2 * kLineBytes + kSlack);
}

TEST(ReaderLimits, HugeLineWithoutEndFailsWithTheMessage) {
  TempDir dir;
  dir.Write("Scenery.cfg", "[Area.1]" + LongLine());
  PeakMeter meter;
  ReadResult read = ReadSceneryFile(dir.Path("Scenery.cfg"));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, kReadFailureMessage);
  EXPECT_LT(meter.Peak(), kLineBytes + kSlack);
}

TEST(ReaderLimits, HugeHeaderLineIsKeptAndWrittenBack) {
  const std::string line = LongLine();
  SceneryDocument doc =
      sceneshifter::testing::LoadText(line + "\r\n[Area.1]\r\nTitle=a\r\n");
  EXPECT_EQ(doc.HeaderLines[0].size(), kLineBytes);
  PeakMeter meter;
  const std::string out = WriteSceneryBytes(doc);
  EXPECT_EQ(out.compare(0, line.size(), line), 0);
  EXPECT_LT(meter.Peak(), kLineBytes + kSlack);
}
