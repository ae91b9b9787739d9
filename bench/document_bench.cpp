// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "file_ops.h"
#include "native_file_ops.h"
#include "scenery_gen.h"
#include "scenery_reader.h"
#include "scenery_writer.h"

using namespace sceneshifter;

namespace {

// The generated file on disk, written once per run.
const std::string& ScenerySample(bool reversed) {
  static const auto make = [](bool rev) {
    const auto path = std::filesystem::temp_directory_path() /
                      (rev ? "sceneshifter-bench-reversed.cfg"
                           : "sceneshifter-bench-ordered.cfg");
    const std::string text = bench::GenerateScenery(rev);
    std::ofstream(path, std::ios::binary).write(text.data(), text.size());
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
  };
  static const std::string reversedPath = make(true);
  static const std::string orderedPath = make(false);
  return reversed ? reversedPath : orderedPath;
}

// The floor: the file's bytes read and split into lines, nothing more.
void BM_ReadAndSplitLines(benchmark::State& state) {
  const std::string& path = ScenerySample(true);
  for (auto _ : state) {
    std::string bytes, error;
    ReadWholeFile(path, bytes, error);
    std::vector<std::string_view> lines;
    std::string_view rest = bytes;
    while (!rest.empty()) {
      const auto cr = rest.find('\r');
      lines.push_back(rest.substr(0, cr));
      if (cr == std::string_view::npos) break;
      rest.remove_prefix(cr + 1);
      if (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    }
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ReadAndSplitLines)->Unit(benchmark::kMicrosecond);

void LoadAndSort(benchmark::State& state, bool reversed) {
  SceneryDocument doc;
  doc.ConfigFile = ScenerySample(reversed);
  for (auto _ : state) {
    const std::string failure = LoadDocument(doc);
    if (!failure.empty()) state.SkipWithError(failure.c_str());
    if (doc.AreasSorted != reversed) state.SkipWithError("unexpected order");
    benchmark::DoNotOptimize(doc.Areas.data());
  }
}
void BM_ReadSortReversed(benchmark::State& state) { LoadAndSort(state, true); }
void BM_ReadSortInOrder(benchmark::State& state) { LoadAndSort(state, false); }
BENCHMARK(BM_ReadSortReversed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSortInOrder)->Unit(benchmark::kMicrosecond);

void BM_WriteBytes(benchmark::State& state) {
  SceneryDocument doc;
  doc.ConfigFile = ScenerySample(true);
  LoadDocument(doc);
  for (auto _ : state) {
    const std::string bytes = WriteSceneryBytes(doc);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_WriteBytes)->Unit(benchmark::kMicrosecond);

// A whole save of the largest table beside a backup, synced to disk (the
// default) and, to show what durability costs, without syncing.
void Save(benchmark::State& state, bool synced) {
  SceneryDocument doc;
  doc.ConfigFile = ScenerySample(true);
  LoadDocument(doc);
  const auto path =
      std::filesystem::temp_directory_path() / "sceneshifter-bench-save.cfg";
  const std::string target = Utf8Path(path);
  NativeFileOps ops(synced);
  const std::string bytes = WriteSceneryBytes(doc);
  for (auto _ : state) {
    const SaveResult result = SaveSceneryFile(target, bytes, ops);
    if (!result.ok) state.SkipWithError(result.error.c_str());
  }
  std::filesystem::remove(path);
  std::filesystem::remove(target + ".bak");
}
void BM_SaveSynced(benchmark::State& state) { Save(state, true); }
void BM_SaveUnsynced(benchmark::State& state) { Save(state, false); }
BENCHMARK(BM_SaveSynced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUnsynced)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
