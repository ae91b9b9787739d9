// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes given to the reader either fail with a message
// or give a document whose saved text reads back and saves the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenery_reader.h"
#include "scenery_writer.h"

using namespace sceneshifter;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool Load(std::string_view bytes, SceneryDocument& doc) {
  ReadResult read = ReadSceneryBytes(bytes);
  if (!read.ok) {
    Check(read.error == kReadFailureMessage ||
          read.error == kTooManyAreasMessage);
    return false;
  }
  Check(read.LastArea >= 0 && read.LastArea < kAreaSlots);
  Check(read.Areas.size() == static_cast<std::size_t>(read.LastArea) + 1);
  AdoptRead(doc, std::move(read));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::int16_t layer = 0;
  ParseLayerValue(bytes, layer);
  NumberValue(bytes);

  // The documents are kept between inputs: a load must keep nothing of what
  // the previous one left.
  static SceneryDocument first, second, third;
  if (!Load(bytes, first)) return 0;
  for (int i = 0; i <= first.LastArea; ++i) {
    Check(first.Areas[i].Layer == i + 1);
    Check(first.Areas[i].Number == FormatAreaNumber(i + 1));
  }
  const std::string once = WriteSceneryBytes(first);

  // A value can read back as a section or cache line, and flatten values
  // close up, so the first save may change; the second must not.
  if (!Load(once, second)) return 0;
  const std::string twice = WriteSceneryBytes(second);
  // A load depends on nothing but the bytes, so when the second save gave
  // the first one's text a third load would only repeat the second.
  if (twice == once) return 0;
  Check(Load(twice, third));
  Check(WriteSceneryBytes(third) == twice);
  return 0;
}
