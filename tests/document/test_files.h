#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "file_ops.h"
#include "scenery_reader.h"

namespace sceneshifter::testing {

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("sceneshifter-test-" + std::to_string(rd()) + "-" +
             std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const {
    return (path_ / name).string();
  }
  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) return "<missing>";
  return bytes;
}

// A scenery text of `n` areas numbered in order (or in reverse).
inline std::string SceneryOf(int n, bool reversed = false) {
  std::string text = "[General]\r\nTitle=FS2000\r\n\r\n";
  for (int i = 0; i < n; ++i) {
    const int k = reversed ? n - i : i + 1;
    char num[16];
    std::snprintf(num, sizeof num, "%03d", k);
    text += std::string("[Area.") + num + "]\r\nTitle=Area " + num +
            "\r\nLocal=Scenery\\A" + num +
            "\r\nActive=TRUE\r\nLayer=" + std::to_string(k) +
            "\r\nRequired=FALSE\r\n\r\n";
  }
  return text;
}

// The document a text gives once read and sorted, as a load leaves it.
inline SceneryDocument Load(const std::string& text) {
  ReadResult r = ReadSceneryBytes(text);
  EXPECT_TRUE(r.ok) << r.error;
  SceneryDocument doc;
  doc.HeaderLines = std::move(r.HeaderLines);
  doc.Areas = std::move(r.Areas);
  doc.LastArea = r.LastArea;
  SortAreas(doc);
  return doc;
}

}  // namespace sceneshifter::testing
