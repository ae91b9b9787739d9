// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "area_health.h"
#include "file_ops.h"
#include "scenery_gen.h"
#include "scenery_reader.h"

using namespace sceneshifter;
namespace fs = std::filesystem;

namespace {

// A simulator folder whose 3001 areas all exist: Scenery.cfg beside
// Scenery\Generated\AreaN\scenery\{a,b}.bgl. Made once per run.
class HealthTree {
 public:
  HealthTree()
      : root_(fs::temp_directory_path() / "sceneshifter-health-bench") {
    fs::remove_all(root_);
    const std::string text = bench::GenerateScenery(false);
    fs::create_directories(root_);
    std::ofstream(root_ / "Scenery.cfg", std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    for (int n = 1; n <= 3001; ++n) {
      const fs::path scenery = root_ / "Scenery" / "Generated" /
                               ("Area" + std::to_string(n)) / "scenery";
      fs::create_directories(scenery);
      std::ofstream(scenery / "a.bgl") << "x";
      std::ofstream(scenery / "b.bgl") << "x";
    }
    doc_.ConfigFile = Utf8Path(root_ / "Scenery.cfg");
    const std::string failure = LoadDocument(doc_);
    if (!failure.empty() || doc_.AreaCount() != 3001) std::abort();
  }
  ~HealthTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& Root() const { return root_; }
  const SceneryDocument& Doc() const { return doc_; }

 private:
  fs::path root_;
  SceneryDocument doc_;
};

const HealthTree& Tree() {
  static const HealthTree tree;
  return tree;
}

// The floor: every folder of the tree listed once.
void BM_ListTree(benchmark::State& state) {
  const fs::path& root = Tree().Root();
  for (auto _ : state) {
    std::size_t entries = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
      benchmark::DoNotOptimize(e.is_directory());
      ++entries;
    }
    benchmark::DoNotOptimize(entries);
  }
}
BENCHMARK(BM_ListTree)->Unit(benchmark::kMillisecond);

void BM_CheckAreaHealth(benchmark::State& state) {
  const HealthSnapshot snapshot = TakeHealthSnapshot(Tree().Doc());
  int reads = 0;
  for (auto _ : state) {
    const HealthReport report = CheckAreaHealth(snapshot);
    if (!report.problems.empty()) state.SkipWithError("unexpected problem");
    reads = report.foldersRead;
  }
  state.counters["folders_read"] = reads;
}
BENCHMARK(BM_CheckAreaHealth)->Unit(benchmark::kMillisecond);

// What the window's thread spends before handing the check over.
void BM_TakeHealthSnapshot(benchmark::State& state) {
  for (auto _ : state) {
    const HealthSnapshot snapshot = TakeHealthSnapshot(Tree().Doc());
    benchmark::DoNotOptimize(snapshot.areas.data());
  }
}
BENCHMARK(BM_TakeHealthSnapshot)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
