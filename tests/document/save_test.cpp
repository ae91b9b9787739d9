// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <string>

#include "native_file_ops.h"
#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {
namespace fs = std::filesystem;

enum class Step {
  None,
  CreateTemp,    // no new file can be made beside the scenery file
  BackupCopy,    // the copy of the old text cannot be made
  FinalRename,   // the new text cannot take the file's name
  BackupRename,  // the copy of the old text cannot take the backup's name
  SyncFolder,    // the folder cannot be synced after the rename
};

// The real file system, with one step made to fail.
class FailingOps : public NativeFileOps {
 public:
  explicit FailingOps(Step failing) : failing_(failing) {}
  bool WriteTemporary(const std::string& prefix, const std::string& bytes,
                      const std::string& model, std::string& created,
                      std::string& error) override {
    const bool backup = prefix.find(".bak.") != std::string::npos;
    if (failing_ == (backup ? Step::BackupCopy : Step::CreateTemp))
      return Fail(backup ? "no room for the copy" : "no room in the folder",
                  error);
    return NativeFileOps::WriteTemporary(prefix, bytes, model, created, error);
  }
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override {
    const bool backup = to.ends_with(".bak");
    if (failing_ == (backup ? Step::BackupRename : Step::FinalRename))
      return Fail(backup ? "backup name taken" : "file is in use", error);
    return NativeFileOps::Replace(from, to, error);
  }
  bool SyncFolder(const std::string& folder, std::string& error) override {
    if (failing_ == Step::SyncFolder) return Fail("sync refused", error);
    return NativeFileOps::SyncFolder(folder, error);
  }

 private:
  static bool Fail(const char* why, std::string& error) {
    error = why;
    return false;
  }
  Step failing_;
};

const std::string kOld = Crlf({"[Area.1]", "Title=old", ""});

}  // namespace

TEST(SaveProtocol, EachFailingStepOverAnExistingFile) {
  struct Case {
    Step failing;
    bool ok;
    const char* reason;  // in the error, or in a warning when ok
    bool backupIsOld;    // else the earlier backup is still there
  };
  const std::vector<Case> cases = {
      {Step::None, true, "", true},
      {Step::CreateTemp, false, "no room in the folder", false},
      {Step::BackupCopy, true, "no room for the copy", false},
      {Step::FinalRename, false, "file is in use", false},
      {Step::BackupRename, true, "backup name taken", false},
      {Step::SyncFolder, true, "sync refused", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.failing));
    TempDir dir;
    dir.Write("Scenery.cfg", kOld);
    dir.Write("Scenery.cfg.bak", "earlier backup");
    const std::string leftover =
        "Scenery.cfg.sceneshifter-0123456789abcdef.tmp";
    dir.Write(leftover, "left by a save that was stopped");
    SceneryDocument doc;
    doc.ConfigFile = dir.Path("Scenery.cfg");
    ASSERT_EQ(LoadDocument(doc), "");
    doc.Areas[0].Title = "new";
    doc.FileChanged = true;
    const std::string newText = WriteSceneryBytes(doc);

    FailingOps ops(c.failing);
    const SaveResult result = SaveDocument(doc, ops);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(dir.Read("Scenery.cfg"), c.ok ? newText : kOld);
    EXPECT_EQ(dir.Read("Scenery.cfg.bak"),
              c.backupIsOld ? kOld : "earlier backup");
    // A failed save leaves the folder as it was; a save clears up after
    // earlier ones.
    std::set<std::string> names{"Scenery.cfg", "Scenery.cfg.bak"};
    if (!c.ok) names.insert(leftover);
    EXPECT_EQ(dir.Names(), names);
    EXPECT_EQ(doc.FileChanged, !c.ok);
    const std::string said =
        result.error + result.backupWarning + result.syncWarning;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    EXPECT_EQ(c.ok, result.error.empty()) << result.error;
  }
}

TEST(SaveProtocol, EachFailingStepForANewName) {
  for (Step failing : {Step::None, Step::CreateTemp, Step::FinalRename}) {
    SCOPED_TRACE(static_cast<int>(failing));
    TempDir dir;
    FailingOps ops(failing);
    const SaveResult result =
        SaveSceneryFile(dir.Path("Scenery.cfg"), "text", ops);
    const bool ok = failing == Step::None;
    EXPECT_EQ(result.ok, ok) << result.error;
    EXPECT_TRUE(result.backupWarning.empty());  // nothing to back up
    EXPECT_EQ(dir.Names(), ok ? std::set<std::string>{"Scenery.cfg"}
                              : std::set<std::string>{});
  }
}

TEST(SaveOnDisk, SavingTwiceKeepsTheFirstSaveAsBackup) {
  TempDir dir;
  dir.Write("Scenery.cfg",
            Crlf({"[Area.2]", "Title=b", "[Area.1]", "Title=a"}));
  SceneryDocument doc;
  doc.ConfigFile = dir.Path("Scenery.cfg");
  ASSERT_EQ(LoadDocument(doc), "");
  const std::string original = dir.Read("Scenery.cfg");

  ASSERT_TRUE(SaveDocument(doc).ok);
  const std::string first = dir.Read("Scenery.cfg");
  EXPECT_EQ(first, WriteSceneryBytes(doc));
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), original);

  doc.Areas[0].Title = "changed";
  const SaveResult second = SaveDocument(doc);
  ASSERT_TRUE(second.ok) << second.error;
  EXPECT_TRUE(second.backupWarning.empty()) << second.backupWarning;
  EXPECT_EQ(dir.Read("Scenery.cfg"), WriteSceneryBytes(doc));
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), first);
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak"}));
}

TEST(SaveOnDisk, SaveAsANewNameMakesNoBackup) {
  TempDir dir;
  const std::string text = Crlf({"[Area.1]", "Title=a"});
  dir.Write("Scenery.cfg", text);
  SceneryDocument doc;
  doc.ConfigFile = dir.Path("Scenery.cfg");
  ASSERT_EQ(LoadDocument(doc), "");
  doc.ConfigFile = dir.Path("Other \xC3\xA9.cfg");  // UTF-8 host name
  ASSERT_TRUE(SaveDocument(doc).ok);
  EXPECT_EQ(dir.Read("Scenery.cfg"), text);
  EXPECT_EQ(dir.Read("Other \xC3\xA9.cfg"), WriteSceneryBytes(doc));
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "Other \xC3\xA9.cfg"}));
}

TEST(SaveOnDisk, FailuresLeaveNothingBehind) {
  TempDir dir;
  std::filesystem::create_directory(HostPath(dir.Path("folder.cfg")));
  for (const std::string& path :
       {dir.Path("missing") + "/Scenery.cfg", dir.Path("folder.cfg")}) {
    SceneryDocument doc = LoadText(Crlf({"[Area.1]", "Title=a"}));
    doc.ConfigFile = path;
    doc.FileChanged = true;
    const SaveResult result = SaveDocument(doc);
    EXPECT_FALSE(result.ok) << path;
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(doc.FileChanged);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"folder.cfg"});
  }
}

#ifndef _WIN32
TEST(SaveOnDisk, LinksModesAndReadOnlyFiles) {
  TempDir dir;
  const std::string newText = Crlf({"[Area.001]", "Title=new"});
  // A link at the scenery file's name stays a link to the file it names.
  dir.Write("real.cfg", kOld);
  fs::create_symlink("real.cfg", HostPath(dir.Path("Scenery.cfg")));
  ASSERT_TRUE(SaveSceneryFile(dir.Path("Scenery.cfg"), newText).ok);
  EXPECT_TRUE(fs::is_symlink(HostPath(dir.Path("Scenery.cfg"))));
  EXPECT_EQ(dir.Read("real.cfg"), newText);
  EXPECT_FALSE(fs::is_symlink(HostPath(dir.Path("Scenery.cfg.bak"))));
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"real.cfg", "Scenery.cfg",
                                                "Scenery.cfg.bak"}));

  // The file's permissions are kept, for the backup too.
  dir.Write("private.cfg", kOld);
  fs::permissions(HostPath(dir.Path("private.cfg")),
                  fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(SaveSceneryFile(dir.Path("private.cfg"), newText).ok);
  for (const char* name : {"private.cfg", "private.cfg.bak"})
    EXPECT_EQ(fs::status(HostPath(dir.Path(name))).permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << name;

  // A file without write permission is refused, even for root.
  dir.Write("locked.cfg", kOld);
  fs::permissions(HostPath(dir.Path("locked.cfg")), fs::perms::owner_read |
                                                        fs::perms::group_read |
                                                        fs::perms::others_read);
  const auto before = dir.Names();
  const SaveResult locked = SaveSceneryFile(dir.Path("locked.cfg"), newText);
  EXPECT_FALSE(locked.ok);
  EXPECT_NE(locked.error.find("read-only"), std::string::npos) << locked.error;
  EXPECT_EQ(dir.Read("locked.cfg"), kOld);
  EXPECT_EQ(dir.Names(), before);
}

TEST(SaveOnDisk, PlantedLinksAndLeftoversOfEarlierSaves) {
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  dir.Write("elsewhere", "not to be touched");
  // The names an earlier version used, and one of this version's, left by
  // saves that were stopped; a link planted at one of them.
  fs::create_symlink(HostPath(dir.Path("elsewhere")),
                     HostPath(dir.Path("Scenery.cfg.sceneshifter-new")));
  for (const char* name :
       {"Scenery.cfg.sceneshifter-new2", "Scenery.cfg.bak.sceneshifter-old",
        "Scenery.cfg.sceneshifter-0123456789abcdef.tmp"})
    dir.Write(name, "half");
  // Files that only look alike belong to the user.
  for (const char* name :
       {"Scenery.cfg.sceneshifter", "Other.cfg.sceneshifter-new"})
    dir.Write(name, "user");
  // A backup that is a second name of the file itself.
  fs::create_hard_link(HostPath(dir.Path("Scenery.cfg")),
                       HostPath(dir.Path("Scenery.cfg.bak")));

  ASSERT_TRUE(SaveSceneryFile(dir.Path("Scenery.cfg"), "new").ok);
  EXPECT_EQ(dir.Read("Scenery.cfg"), "new");
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);
  EXPECT_EQ(dir.Read("elsewhere"), "not to be touched");
  EXPECT_FALSE(fs::is_symlink(HostPath(dir.Path("Scenery.cfg"))));
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak",
                                   "elsewhere", "Scenery.cfg.sceneshifter",
                                   "Other.cfg.sceneshifter-new"}));
}

TEST(SaveOnDisk, AFolderWithoutRoomForANewFileIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  fs::permissions(HostPath(dir.Path("")),
                  fs::perms::owner_read | fs::perms::owner_exec);
  const SaveResult result = SaveSceneryFile(dir.Path("Scenery.cfg"), "new");
  fs::permissions(HostPath(dir.Path("")), fs::perms::owner_all);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("Nothing was changed"), std::string::npos);
  EXPECT_EQ(dir.Names(), std::set<std::string>{"Scenery.cfg"});
}
#endif

TEST(SaveOnDisk, AFileChangedByAnotherProgramIsNotOverwrittenUnasked) {
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  SceneryDocument doc;
  doc.ConfigFile = dir.Path("Scenery.cfg");
  ASSERT_EQ(LoadDocument(doc), "");
  ASSERT_TRUE(SaveDocument(doc).ok);  // our own save is no change
  const std::string theirs = Crlf({"[Area.001]", "Title=theirs"});
  dir.Write("Scenery.cfg", theirs);

  const SaveResult refused = SaveDocument(doc);
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.changedOnDisk);
  EXPECT_EQ(dir.Read("Scenery.cfg"), theirs);
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);  // the backup untouched too
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak"}));
  const SaveResult forced =
      SaveDocument(doc, DefaultFileOps(), SaveMode::Overwrite);
  ASSERT_TRUE(forced.ok) << forced.error;
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), theirs);
  EXPECT_TRUE(SaveDocument(doc).ok);
}

TEST(SaveCheck, ValuesThatWouldReadBackDifferentlyAreRefused) {
  struct Case {
    const char* text;   // the file read
    const char* title;  // a title then typed, or null
    const char* said;   // in the refusal, or null when the save goes ahead
  };
  const std::vector<Case> cases = {
      {"[Area.1]\r\nLocal=x[Area.2]\r\nTitle=a\r\n", nullptr,
       "Folder of area 1"},
      {"[Area.1]\r\nTitle=a\r\n[Area.2]\r\nTitle=b\r\n", "x[Cache]",
       "Title of area 1"},
      {"[Area.1]\r\nTitle=a\r\n", "x[Area.9]", nullptr},
      {"[Area.1]\r\nTitle=a\r\nFlatten.0=\r\nFlatten.1=y\r\n", nullptr,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SceneryDocument doc = LoadText(c.text);
    if (c.title) doc.Areas[0].Title = c.title;
    const std::string problem = StorageProblem(doc, WriteSceneryBytes(doc));
    if (c.said)
      EXPECT_NE(problem.find(c.said), std::string::npos) << problem;
    else
      EXPECT_EQ(problem, "");
    EXPECT_EQ(AreaStorageProblem(doc.Areas[0]).empty(), c.said == nullptr);
  }
  SceneryDocument empty = LoadText("[Area.1]\r\nTitle=a\r\n");
  empty.Areas.clear();
  empty.LastArea = -1;
  EXPECT_NE(StorageProblem(empty, WriteSceneryBytes(empty)).find("no areas"),
            std::string::npos);
}

TEST(ReadFailure, SaysWhy) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "the file is empty"},
      {"[General]\r\nTitle=x\r\n", "there is no [Area. line"},
      {"[General]\r\n[Area.001]",
       "its first [Area. line is the file's last line"},
  };
  for (const auto& [text, why] : cases) {
    dir.Write("Scenery.cfg", text);
    const ReadResult read = ReadSceneryFile(dir.Path("Scenery.cfg"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, kReadFailureMessage);
    EXPECT_EQ(read.detail, dir.Path("Scenery.cfg") + ": " + why);
  }
  std::string detail;
  SceneryDocument doc;
  doc.ConfigFile = dir.Path("missing.cfg");
  EXPECT_EQ(LoadDocument(doc, &detail), kReadFailureMessage);
  EXPECT_EQ(detail, doc.ConfigFile + ": there is no such file");
}
