// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <algorithm>

#include "scenery_gen.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "table_difference.h"

using namespace sceneshifter;

namespace {

SceneryDocument Loaded(const std::string& text) {
  SceneryDocument doc;
  ReadResult read = ReadSceneryBytes(text);
  AdoptRead(doc, std::move(read));
  return doc;
}

// The generated 3001 areas, and a later version of them with the same
// count: one area raised from near the end to the top, 30 others moved, 50
// retitled, 50 switched off and 20 replaced by new folders.
struct Pair {
  SceneryDocument earlier, later;
  std::string earlierText;
};
const Pair& Versions() {
  static const Pair pair = [] {
    Pair p;
    p.earlierText = bench::GenerateScenery(false);
    p.earlier = Loaded(p.earlierText);
    p.later = p.earlier;
    std::vector<AreaEntry>& a = p.later.Areas;
    std::rotate(a.begin(), a.begin() + 2990, a.begin() + 2991);
    for (int k = 0; k < 30; ++k) std::swap(a[100 + k * 90], a[140 + k * 90]);
    for (int i = 0; i < 3001; i += 60) a[i].Title += " (new)";
    for (int i = 7; i < 3001; i += 60) a[i].Active = "False";
    for (int i = 13; i < 3001; i += 150)
      a[i].PathValue = "Scenery\\Replaced\\" + std::to_string(i);
    for (int i = 0; i < 3001; ++i) {
      a[i].Number = FormatAreaNumber(i + 1);
      a[i].Layer = static_cast<std::int16_t>(i + 1);
    }
    return p;
  }();
  return pair;
}

// What selecting a version in the window costs: the difference alone.
void BM_DifferenceOfTables(benchmark::State& state) {
  const Pair& p = Versions();
  for (auto _ : state) {
    auto d = DifferenceOfTables(p.earlier, p.later);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_DifferenceOfTables)->Unit(benchmark::kMillisecond);

// The same with the version's text read and sorted first, as the window
// and `versions diff` do.
void BM_ReadVersionAndDiffer(benchmark::State& state) {
  const Pair& p = Versions();
  for (auto _ : state) {
    const SceneryDocument earlier = Loaded(p.earlierText);
    auto d = DifferenceOfTables(earlier, p.later);
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_ReadVersionAndDiffer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
