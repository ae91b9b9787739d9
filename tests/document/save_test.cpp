#include <gtest/gtest.h>

#include <map>
#include <string>

#include "scenery_writer.h"
#include "test_support.h"

using namespace sceneshifter;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::LoadText;
using sceneshifter::testing::TempDir;

namespace {

enum class Step {
  None,
  CreateTemp,    // the temporary file cannot be created at all
  WritePartway,  // created, part of the text written, then the write fails
  LinkOrCopy,    // the old file cannot be kept as the backup
  BackupRename,  // the kept copy cannot take the backup's name
  FinalRename,   // the new text cannot take the file's name
};

// A folder in memory whose steps can be made to fail one at a time.
class FakeOps : public FileOps {
 public:
  std::map<std::string, std::string> files;
  Step failing = Step::None;

  bool Exists(const std::string& path) override { return files.count(path); }
  bool WriteNewFile(const std::string& path, const std::string& bytes,
                    std::string& error) override {
    if (failing == Step::CreateTemp)
      return Fail("no room in the folder", error);
    if (failing == Step::WritePartway) {
      files[path] = bytes.substr(0, bytes.size() / 2);
      return Fail("the disk is full", error);
    }
    files[path] = bytes;
    return true;
  }
  bool LinkOrCopy(const std::string& from, const std::string& to,
                  std::string& error) override {
    if (failing == Step::LinkOrCopy) return Fail("links refused", error);
    if (!files.count(from) || files.count(to)) return Fail("bad link", error);
    files[to] = files[from];
    return true;
  }
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override {
    const bool toBackup = to.ends_with(".bak");
    if (failing == (toBackup ? Step::BackupRename : Step::FinalRename))
      return Fail(toBackup ? "backup name taken" : "file is in use", error);
    if (!files.count(from)) return Fail("no such file", error);
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }

  bool HasScratchFiles() const {
    for (const auto& [name, bytes] : files)
      if (name.find(".sceneshifter-") != std::string::npos) return true;
    return false;
  }

 private:
  static bool Fail(const char* why, std::string& error) {
    error = why;
    return false;
  }
};

const std::string kPath = "C:\\Sim\\Scenery.cfg";
const std::string kOld = Crlf({"[Area.1]", "Title=old", ""});

}  // namespace

TEST(SaveProtocol, EachFailingStepOverAnExistingFile) {
  struct Case {
    Step failing;
    bool ok;
    const char* reason;  // in the error, or in the warning when ok
    bool backupIsOld;    // else the earlier backup is still there
  };
  const std::vector<Case> cases = {
      {Step::None, true, "", true},
      {Step::CreateTemp, false, "no room in the folder", false},
      {Step::WritePartway, false, "the disk is full", false},
      {Step::LinkOrCopy, true, "links refused", false},
      {Step::BackupRename, true, "backup name taken", false},
      {Step::FinalRename, false, "file is in use", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.failing));
    FakeOps ops;
    ops.files[kPath] = kOld;
    ops.files[kPath + ".bak"] = "earlier backup";
    ops.failing = c.failing;
    SceneryDocument doc = LoadText(kOld);
    doc.ConfigFile = kPath;
    doc.Areas[0].Title = "new";
    doc.FileChanged = true;
    const std::string newText = WriteSceneryBytes(doc);

    const SaveResult result = SaveDocument(doc, ops);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(ops.files[kPath], c.ok ? newText : kOld);
    EXPECT_EQ(ops.files[kPath + ".bak"],
              c.backupIsOld ? kOld : "earlier backup");
    EXPECT_FALSE(ops.HasScratchFiles());
    EXPECT_EQ(ops.files.size(), 2u);
    EXPECT_EQ(doc.FileChanged, !c.ok);
    if (c.ok) {
      EXPECT_TRUE(result.error.empty());
      EXPECT_NE(result.backupWarning.find(c.reason), std::string::npos);
      EXPECT_EQ(result.backupWarning.empty(), c.failing == Step::None);
    } else {
      EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
    }
  }
}

TEST(SaveProtocol, EachFailingStepForANewName) {
  for (Step failing :
       {Step::None, Step::CreateTemp, Step::WritePartway, Step::LinkOrCopy,
        Step::BackupRename, Step::FinalRename}) {
    SCOPED_TRACE(static_cast<int>(failing));
    FakeOps ops;
    ops.failing = failing;
    const SaveResult result = SaveSceneryFile(kPath, "text", ops);
    const bool ok = failing != Step::CreateTemp &&
                    failing != Step::WritePartway &&
                    failing != Step::FinalRename;
    EXPECT_EQ(result.ok, ok);
    EXPECT_TRUE(result.backupWarning.empty());  // nothing to back up
    EXPECT_EQ(ops.files.size(), ok ? 1u : 0u);
    if (ok) {
      EXPECT_EQ(ops.files[kPath], "text");
    } else {
      EXPECT_FALSE(result.error.empty());
    }
  }
}

TEST(SaveProtocol, ScratchNamesNeverTakeAUsersFile) {
  FakeOps ops;
  ops.files[kPath] = kOld;
  ops.files[kPath + ".sceneshifter-new"] = "a user's file";
  ops.files[kPath + ".bak.sceneshifter-old"] = "another";
  ASSERT_TRUE(SaveSceneryFile(kPath, "text", ops).ok);
  EXPECT_EQ(ops.files[kPath], "text");
  EXPECT_EQ(ops.files[kPath + ".bak"], kOld);
  EXPECT_EQ(ops.files[kPath + ".sceneshifter-new"], "a user's file");
  EXPECT_EQ(ops.files[kPath + ".bak.sceneshifter-old"], "another");
  EXPECT_EQ(ops.files.size(), 4u);
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
