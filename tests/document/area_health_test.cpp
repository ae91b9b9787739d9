// SPDX-License-Identifier: MIT
#include "area_health.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "path_helpers.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// A simulator folder "FS" with add-on areas in every state, and (on POSIX
// hosts) a Wine installation "wine" with drive C: and a network share.
class HealthTree {
 public:
  HealthTree() {
    Folder("FS/Addon Scenery/Good/Scenery");
    File("FS/Addon Scenery/Good/Scenery/a.BGL");
    File("FS/Addon Scenery/NoSub/Scenery");  // a file, not a folder
    Folder("FS/Addon Scenery/NoSub/texture");
    File("FS/Addon Scenery/NoBgl/scenery/readme.txt");
    Folder("FS/Addon Scenery/NoBgl/scenery/fake.bgl");  // a folder
    for (int i = 0; i < 9; ++i)
      Folder("FS/Addon Scenery/Filler" + std::to_string(i));
#ifndef _WIN32
    File("FS/Addon Scenery/Case/scenery/b.bgl");
    Folder("FS/Addon Scenery/CASE");
    File("wine/drive_c/Sim/Addon/scenery/x.bgl");
    File("wine/net/Share/Area/Scenery/y.bgl");
    Folder("wine/dosdevices/unc");
    fs::create_directory_symlink("../drive_c", Host("wine/dosdevices/c:"));
    fs::create_directory_symlink("../../net",
                                 Host("wine/dosdevices/unc/Server"));
#endif
  }

  std::string Path(const std::string& name) const { return dir_.Path(name); }

  HealthReport Check(const std::vector<HealthArea>& areas,
                     const std::string& base = "FS") const {
    HealthSnapshot s;
    s.baseFolder = Path(base);
    s.areas = areas;
    for (std::size_t i = 0; i < s.areas.size(); ++i)
      s.areas[i].Layer = static_cast<std::int16_t>(i + 1);
    return CheckAreaHealth(s);
  }

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

HealthArea Area(const std::string& path, const std::string& key = "Local=",
                const std::string& active = "True",
                const std::string& required = "FALSE") {
  return {0, key, path, active, required};
}

std::string Codes(const HealthReport& report) {
  std::string codes;
  for (const auto& p : report.problems) {
    if (!codes.empty()) codes += ' ';
    codes += std::to_string(p.layer) + ":" + HealthCodeName(p.code);
  }
  return codes;
}

}  // namespace

TEST(AreaHealth, OneAreaEachWay) {
  const HealthTree tree;
  struct Case {
    HealthArea area;
    const char* codes;
    const char* detail;  // found in the first problem's detail
    const char* base = "FS";
  };
  const std::vector<Case> cases = {
      {Area("Addon Scenery\\Good"), "", ""},
      {Area("addon SCENERY/gOOd/", "Remote="), "", ""},
      {Area(".\\Addon Scenery\\.\\Good"), "", ""},
      {Area("..\\FS\\Addon Scenery\\Good"), "", ""},
      {Area("..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x"),
       "1:missing-folder", "x"},
      {Area(tree.Path("FS/Addon Scenery/Good")), "", ""},
      {Area("Addon Scenery//Good\\\\"), "", ""},
      {Area("", "Local="), "1:no-folder", ""},
      {Area("Scenery\\X", ""), "1:no-folder", ""},
      {Area("Addon Scenery\\Gone\\Deeper"), "1:missing-folder", "Gone"},
      {Area("Addon Scenery\\NoSub"), "1:no-scenery-subfolder", "NoSub"},
      {Area("Addon Scenery\\NoBgl"), "1:no-bgl-files", "scenery"},
      {Area("Addon Scenery\\Good", "Local=", "yes", ""),
       "1:odd-flag 1:odd-flag", "Active=yes"},
      {Area("Addon Scenery\\Good", "Local=", "TRUE", "false"), "", ""},
#ifndef _WIN32
      {Area("Addon Scenery\\Case"), "", ""},
      {Area("Addon Scenery\\CASE"), "1:no-scenery-subfolder", "CASE"},
      {Area("C:\\Sim\\Addon"), "", "", "wine/drive_c/Sim"},
      {Area("c:/SIM/addon"), "", "", "wine/drive_c/Sim"},
      {Area("C:Sim\\Addon"), "", "", "wine/drive_c/Sim"},
      {Area("\\Sim\\Addon"), "", "", "wine/drive_c/Sim"},
      {Area("\\Addon Scenery\\Good"), "", ""},
      {Area("C:\\Sim\\Nothing"), "1:missing-folder", "Nothing",
       "wine/drive_c/Sim"},
      {Area("D:\\Sim"), "1:missing-folder", "no such drive",
       "wine/drive_c/Sim"},
      {Area("\\\\server\\SHARE\\Area"), "", "", "wine/drive_c/Sim"},
      {Area("\\\\other\\share\\Area"), "1:missing-folder", "other",
       "wine/drive_c/Sim"},
      {Area("C:\\Sim\\Addon"), "1:missing-folder", "no such drive"},
      {Area("\\\\server\\share\\Area"), "1:missing-folder", "network share"},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.area.PathKey + c.area.PathValue + " from " + c.base);
    const HealthReport report = tree.Check({c.area}, c.base);
    EXPECT_EQ(Codes(report), c.codes);
    if (!report.problems.empty()) {
      EXPECT_NE(report.problems[0].detail.find(c.detail), std::string::npos)
          << report.problems[0].detail;
    }
  }
}

TEST(AreaHealth, DuplicatesNameTheOtherLayersAndFoldersAreReadOnce) {
  const HealthTree tree;
  const HealthReport report =
      tree.Check({Area("Addon Scenery\\Good"), Area("Addon Scenery\\NoBgl"),
                  Area("ADDON scenery/good/"), Area("Addon Scenery\\Gone"),
                  Area("Addon Scenery\\.\\GONE"), Area("addon scenery\\good")});
  EXPECT_EQ(Codes(report),
            "1:duplicate-folder 2:no-bgl-files 3:duplicate-folder "
            "4:missing-folder 4:duplicate-folder 5:missing-folder "
            "5:duplicate-folder 6:duplicate-folder");
  EXPECT_EQ(report.problems[0].detail, "same folder as layers 3, 6");
  EXPECT_EQ(report.problems[4].detail, "same folder as layer 5");
  // FS, Addon Scenery, Good, Good/Scenery, NoBgl, NoBgl/scenery.
  EXPECT_EQ(report.foldersRead, 6);
  EXPECT_FALSE(report.cancelled);
}

TEST(AreaHealth, CancelledCheckStops) {
  const HealthTree tree;
  HealthSnapshot s;
  s.baseFolder = tree.Path("FS");
  s.areas = {Area("Addon Scenery\\Gone")};
  const std::atomic<bool> cancel{true};
  const HealthReport report = CheckAreaHealth(s, &cancel);
  EXPECT_TRUE(report.cancelled);
  EXPECT_TRUE(report.problems.empty());
}

TEST(AreaHealth, SnapshotAndFolding) {
  SceneryDocument doc;
  doc.ConfigFile = "Scenery.cfg";
  doc.Areas.resize(2);
  doc.LastArea = 1;
  doc.Areas[0].PathKey = "Local=";
  doc.Areas[0].PathValue = "X";
  doc.Areas[1].Active = "yes";
  const HealthSnapshot s = TakeHealthSnapshot(doc);
  EXPECT_EQ(s.baseFolder, Utf8Path(fs::current_path()));
  ASSERT_EQ(s.areas.size(), 2u);
  EXPECT_TRUE(SameHealthInputs(doc.Areas[1], s.areas[1]));
  doc.Areas[1].Active = "true";
  EXPECT_FALSE(SameHealthInputs(doc.Areas[1], s.areas[1]));

  EXPECT_EQ(FoldName("Addon SCENERY"), "addon scenery");
  EXPECT_EQ(FoldName("\xC3\x89t\xC3\xA9 \xC5\xA0 \xD0\x96 \xCE\xA3"),
            "\xC3\xA9t\xC3\xA9 \xC5\xA1 \xD0\xB6 \xCF\x83");  // ÉtéŠЖΣ
  EXPECT_EQ(FoldName("A\xFF\xC3"), "a\xFF\xC3");              // not UTF-8: kept
}
