// SPDX-License-Identifier: MIT
// Saving on Windows, where an open file, a read-only attribute and the old
// 260-character path limit stand in a save's way.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "code_page.h"
#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

const std::string kOld = Crlf({"[Area.1]", "Title=old", ""});

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf16FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

SceneryDocument ChangedDocument(const std::string& path) {
  SceneryDocument doc = LoadText(kOld);
  doc.ConfigFile = path;
  doc.Areas[0].Title = "new";
  doc.FileChanged = true;
  return doc;
}

}  // namespace

// Another program holds the file open without FILE_SHARE_DELETE, so it can
// be neither replaced nor renamed: the save fails, the file unchanged.
TEST(WindowsSave, FileHeldOpenByAnotherHandle) {
  for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ},
                      DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    SCOPED_TRACE(share);
    TempDir dir;
    dir.Write("Scenery.cfg", kOld);
    const std::string path = dir.Path("Scenery.cfg");
    const HANDLE held =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SceneryDocument doc = ChangedDocument(path);
    const SaveResult result = SaveDocument(doc);
    CloseHandle(held);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(doc.FileChanged);
    EXPECT_EQ(dir.Read("Scenery.cfg"), kOld);
    // The backup takes its name before the file is replaced; a handle that
    // shares no reading leaves none to take.
    std::set<std::string> names{"Scenery.cfg", "Scenery.cfg.lock"};
    if (share != 0) {
      names.insert("Scenery.cfg.bak");
      EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);
    }
    EXPECT_EQ(dir.Names(), names);
  }
}

TEST(WindowsSave, ReadOnlyFileIsRefused) {
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  const std::string path = dir.Path("Scenery.cfg");
  ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
  SceneryDocument doc = ChangedDocument(path);
  const SaveResult result = SaveDocument(doc);
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("read-only"), std::string::npos) << result.error;
  EXPECT_TRUE(doc.FileChanged);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(dir.Read("Scenery.cfg"), kOld);
  EXPECT_EQ(dir.Names(), std::set<std::string>{"Scenery.cfg"});
}

// The file's own path just under or over 260 characters, its temporary and
// backup names longer still.
TEST(WindowsSave, PathsNearTheOldLimit) {
  for (std::size_t length : {240u, 250u, 259u, 260u, 280u}) {
    SCOPED_TRACE(length);
    TempDir dir;
    const std::size_t base = dir.Path("").size();
    const std::string leaf = "\\Scenery.cfg";
    ASSERT_LT(base + leaf.size(), length);
    const std::string folder(length - base - leaf.size(), 'f');
    ASSERT_TRUE(CreateDirectoryW(Wide(dir.Path(folder)).c_str(), nullptr));
    const std::string name = folder + leaf;
    ASSERT_EQ(dir.Path(name).size(), length);
    dir.Write(name, kOld);

    SceneryDocument doc;
    doc.ConfigFile = dir.Path(name);
    ASSERT_EQ(LoadDocument(doc), "");
    doc.Areas[0].Title = "new";
    const SaveResult result = SaveDocument(doc);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.backupWarning.empty()) << result.backupWarning;
    EXPECT_EQ(dir.Read(name), WriteSceneryBytes(doc));
    EXPECT_EQ(dir.Read(name + ".bak"), kOld);
  }
}

#endif
