// SPDX-License-Identifier: MIT
#include "scenery_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "path_helpers.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// A simulator folder "FS" whose areas lead to some add-on folders on disk
// and not to others.
class ScanTree {
 public:
  ScanTree() {
    File("FS/Addon Scenery/Present/scenery/a.bgl");
    File("FS/Addon Scenery/CaseVar/Scenery/b.BGL");
    File("FS/Addon Scenery/Dup/scenery/c.bgl");
    File("FS/Addon Scenery/NewOne/SCENERY/x.bgl");
    File("FS/Addon Scenery/NewOne/SCENERY/y.Bgl");
    File("FS/Addon Scenery/NewOne/SCENERY/notes.txt");
    Folder("FS/Addon Scenery/NewOne/SCENERY/sub.bgl");  // a folder
    File("FS/Addon Scenery/NoBgl/scenery/readme.txt");
    Folder("FS/Addon Scenery/NoSub/texture");
    File("FS/Addon Scenery/Deep/L2/scenery/z.bgl");     // three deep
    File("FS/Addon Scenery/Deep/L2/L3/scenery/z.bgl");  // four deep
    File("FS/alpha/scenery/q.bgl");
    File("FS/\xCE\xA9mega/scenery/q.bgl");  // not in code page 1252
    File("Elsewhere/Far/scenery/f.bgl");
#ifndef _WIN32
    fs::create_directory_symlink("Addon Scenery/NewOne", Host("FS/Link"));
    fs::create_directory_symlink("..", Host("FS/Addon Scenery/Loop"));
#endif
  }

  FolderScan Scan(const std::string& dir = std::string()) const {
    HealthSnapshot s;
    s.baseFolder = dir_.Path("FS");
    for (const char* path :
         {"Addon Scenery\\Present", "ADDON SCENERY\\casevar\\",
          "Addon Scenery\\Dup", "Addon Scenery\\Dup", "Addon Scenery\\Gone"})
      s.areas.push_back({0, "Local=", path, "True", "False"});
    return ScanNewFolders(s, dir.empty() ? dir : dir_.Path(dir));
  }
  std::string Path(const std::string& name) const { return dir_.Path(name); }

 private:
  fs::path Host(const std::string& name) const {
    return HostPath(dir_.Path(name));
  }
  void Folder(const std::string& name) const {
    fs::create_directories(Host(name));
  }
  void File(const std::string& name) const {
    Folder(FolderOf(name));
    dir_.Write(name, "x");
  }
  TempDir dir_;
};

std::string Listed(const FolderScan& scan) {
  std::string text;
  for (const NewFolder& f : scan.folders)
    text +=
        f.PathValue + "|" + f.Title + "|" + std::to_string(f.bglFiles) + "\n";
  return text;
}

// New folders are offered once, in order; folders that areas lead to (in
// any spelling, or twice), folders without .bgl files or without a scenery
// subfolder, and folders deeper than three are not.
TEST(ScanNewFolders, OffersOnlyFoldersNoAreaLeadsTo) {
  const ScanTree tree;
  const FolderScan scan = tree.Scan();
  EXPECT_EQ(Listed(scan),
            "Addon Scenery\\Deep\\L2|L2|1\n"
            "Addon Scenery\\NewOne|NewOne|2\n"
            "alpha|alpha|1\n");
  ASSERT_EQ(scan.notes.size(), 1u);
  EXPECT_NE(scan.notes[0].find("(1252) cannot hold"), std::string::npos)
      << scan.notes[0];
  EXPECT_FALSE(scan.cancelled);
}

// Another folder: written below the scenery file's folder where it lies
// there, in full elsewhere; a scanned add-on folder offers itself.
TEST(ScanNewFolders, WritesPathsFromTheScenerysFolder) {
  const ScanTree tree;
  struct Case {
    std::string dir;
    std::string first;
  } cases[] = {
      {"FS/Addon Scenery/Deep", "Addon Scenery\\Deep\\L2"},
      {"FS/alpha", "alpha"},
      {"Elsewhere",
       Utf8Path(HostPath(tree.Path("Elsewhere/Far")).make_preferred())},
  };
  for (const Case& c : cases) {
    const FolderScan scan = tree.Scan(c.dir);
    ASSERT_FALSE(scan.folders.empty()) << c.dir;
    EXPECT_EQ(scan.folders[0].PathValue, c.first) << c.dir;
  }
}

TEST(AppendNewFolders, AppendsInOrderOrRefusesWhenFull) {
  SceneryDocument doc = sceneshifter::testing::LoadText(
      "[Area.001]\r\nTitle=A\r\nLocal=a\r\nLayer=1\r\n");
  const std::vector<NewFolder> two = {{"N1", "x\\N1", "", 1},
                                      {"N2", "x\\N2", "", 3}};
  ASSERT_TRUE(AppendNewFolders(doc, two));
  ASSERT_EQ(doc.AreaCount(), 3);
  EXPECT_EQ(doc.Areas[1].Title, "N1");
  EXPECT_EQ(doc.Areas[2].PathValue, "x\\N2");
  EXPECT_EQ(doc.Areas[2].Layer, 3);
  EXPECT_EQ(doc.Areas[2].Active + doc.Areas[2].Required, "TrueFalse");

  doc.Areas.resize(kAreaSlots - 1);
  doc.LastArea = kAreaSlots - 2;
  EXPECT_FALSE(AppendNewFolders(doc, two));
  EXPECT_EQ(doc.AreaCount(), kAreaSlots - 1);
}

}  // namespace
