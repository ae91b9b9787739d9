// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "area_health.h"
#include "file_ops.h"
#include "scenery_reader.h"
#include "scenery_scan.h"

using namespace sceneshifter;
namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 3000;
constexpr int kListed = 1000;  // the folders that the file names already

// A simulator folder with 3000 add-on folders of 10 .bgl files each
// (Addon Scenery\AddonN\scenery\N-k.bgl), the first 1000 of them named by
// Scenery.cfg. Made once per run.
class ScanTree {
 public:
  ScanTree() : root_(fs::temp_directory_path() / "sceneshifter-scan-bench") {
    fs::remove_all(root_);
    fs::create_directories(root_);
    std::string text = "[General]\r\nTitle=Bench\r\n";
    for (int n = 1; n <= kFolders; ++n) {
      const std::string name = "Addon" + std::to_string(n);
      const fs::path scenery = root_ / "Addon Scenery" / name / "scenery";
      fs::create_directories(scenery);
      for (int k = 0; k < 10; ++k)
        std::ofstream(scenery / (name + "-" + std::to_string(k) + ".bgl"))
            << "x";
      if (n <= kListed)
        text +=
            "[Area." + FormatAreaNumber(n) + "]\r\nTitle=" + name +
            "\r\nLocal=Addon Scenery\\" + name +
            "\r\nActive=True\r\nRequired=False\r\nLayer=" + std::to_string(n) +
            "\r\n";
    }
    std::ofstream(root_ / "Scenery.cfg", std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    doc_.ConfigFile = Utf8Path(root_ / "Scenery.cfg");
    if (!LoadDocument(doc_).empty() || doc_.AreaCount() != kListed)
      std::abort();
  }
  ~ScanTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& Root() const { return root_; }
  const SceneryDocument& Doc() const { return doc_; }

 private:
  fs::path root_;
  SceneryDocument doc_;
};

const ScanTree& Tree() {
  static const ScanTree tree;
  return tree;
}

// The floor: every folder of the tree listed once.
void BM_ListScanTree(benchmark::State& state) {
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
BENCHMARK(BM_ListScanTree)->Unit(benchmark::kMillisecond);

void BM_ScanNewFolders(benchmark::State& state) {
  const HealthSnapshot snapshot = TakeHealthSnapshot(Tree().Doc());
  int reads = 0;
  for (auto _ : state) {
    const FolderScan scan = ScanNewFolders(snapshot, std::string());
    if (scan.folders.size() != kFolders - kListed)
      state.SkipWithError("unexpected count");
    reads = scan.foldersRead;
  }
  state.counters["folders_read"] = reads;
}
BENCHMARK(BM_ScanNewFolders)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
