#include <gtest/gtest.h>

#include <map>
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
    EXPECT_EQ(dir.Names(),
              (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak"}));
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
