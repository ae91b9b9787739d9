// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>

#include "file_ops.h"
#include "scenery_reader.h"

namespace sceneshifter::testing {

// Lines joined with the file's own CR LF, the last one terminated too.
inline std::string Crlf(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

// Reads `text` and sorts it as a load does.
inline SceneryDocument LoadText(std::string_view text) {
  ReadResult read = ReadSceneryBytes(text);
  EXPECT_TRUE(read.ok) << read.error;
  SceneryDocument doc;
  if (read.ok) AdoptRead(doc, std::move(read));
  return doc;
}

// A fresh folder of its own under the system's temporary folder, removed
// with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> serial{0};
    const auto stamp =
        std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = std::filesystem::temp_directory_path() /
           ("sceneshifter-test-" + std::to_string(stamp) + "-" +
            std::to_string(serial++));
    std::filesystem::create_directories(dir_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The UTF-8 path of `name` inside the folder.
  std::string Path(const std::string& name) const {
    const auto u8 = (dir_ / HostPath(name)).u8string();
    return std::string(u8.begin(), u8.end());
  }
  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(HostPath(Path(name)), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const {
    std::string bytes, error;
    EXPECT_TRUE(ReadWholeFile(Path(name), bytes, error)) << name << error;
    return bytes;
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      const auto u8 = e.path().filename().u8string();
      names.emplace(u8.begin(), u8.end());
    }
    return names;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace sceneshifter::testing
