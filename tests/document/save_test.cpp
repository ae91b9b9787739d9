#include <gtest/gtest.h>

#include "scenery_reader.h"
#include "scenery_writer.h"
#include "test_files.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

namespace {

// The file system, failing at one chosen step of a save.
enum class Step { None, CreateTemp, WriteTemp, Link, RenameBackup, Replace };

class FailingOps : public FileOps {
 public:
  explicit FailingOps(Step step) : step_(step) {}
  bool WriteNewFile(const std::string& path, const std::string& bytes,
                    std::string& error) override {
    if (step_ == Step::CreateTemp) {
      error = "no room for a new file";
      return false;
    }
    if (step_ == Step::WriteTemp) {
      // Half the text reaches the disk, then the write fails.
      WriteFile(path, bytes.substr(0, bytes.size() / 2));
      error = "the disk is full";
      return false;
    }
    return FileOps::WriteNewFile(path, bytes, error);
  }
  bool LinkOrCopy(const std::string& from, const std::string& to,
                  std::string& error) override {
    if (step_ == Step::Link) {
      error = "cannot copy";
      return false;
    }
    return FileOps::LinkOrCopy(from, to, error);
  }
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override {
    const bool backup =
        to.size() > 4 && to.compare(to.size() - 4, 4, ".bak") == 0;
    if ((backup && step_ == Step::RenameBackup) ||
        (!backup && step_ == Step::Replace)) {
      error = "rename refused";
      return false;
    }
    return FileOps::Replace(from, to, error);
  }

 private:
  Step step_;
};

struct SaveCase {
  Step step;
  bool saved;       // the new text stands under the file's name
  bool backupMade;  // .bak holds the old text
  bool warned;
};

class SaveProtocol : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveProtocol, FileIsAlwaysWholeOldOrWholeNew) {
  const SaveCase c = GetParam();
  TempFolder dir;
  const std::string file = dir.File("Scenery.cfg");
  const std::string oldText = SceneryOf(3, true);
  const std::string oldBackup = "older backup";
  WriteFile(file, oldText);
  WriteFile(file + ".bak", oldBackup);

  SceneryDocument doc;
  doc.ConfigFile = file;
  ASSERT_EQ(LoadDocument(doc), "");
  ASSERT_TRUE(doc.FileChanged);  // the sort moved areas
  const std::string newText = WriteSceneryBytes(doc);
  ASSERT_NE(newText, oldText);

  FailingOps ops(c.step);
  const SaveResult r = SaveDocument(doc, ops);
  EXPECT_EQ(r.ok, c.saved);
  EXPECT_EQ(ReadFile(file), c.saved ? newText : oldText);
  EXPECT_EQ(ReadFile(file + ".bak"), c.backupMade ? oldText : oldBackup);
  EXPECT_EQ(doc.FileChanged, !c.saved);
  EXPECT_EQ(r.error.empty(), c.saved) << r.error;
  EXPECT_EQ(!r.backupWarning.empty(), c.warned) << r.backupWarning;
  // Nothing but the file and its backup is left behind.
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"Scenery.cfg", "Scenery.cfg.bak"}));
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, SaveProtocol,
    ::testing::Values(SaveCase{Step::None, true, true, false},
                      SaveCase{Step::CreateTemp, false, false, false},
                      SaveCase{Step::WriteTemp, false, false, false},
                      SaveCase{Step::Link, true, false, true},
                      SaveCase{Step::RenameBackup, true, false, true},
                      SaveCase{Step::Replace, false, true, false}));

TEST(Save, SaveAsToNewNameMakesNoBackup) {
  TempFolder dir;
  const std::string file = dir.File("new.cfg");
  const SaveResult r = SaveSceneryFile(file, "text\r\n");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"new.cfg"});
}

TEST(Save, SavingTwiceKeepsFirstSaveAsBackup) {
  TempFolder dir;
  const std::string file = dir.File("Scenery.cfg");
  WriteFile(file, "original\r\n");
  ASSERT_TRUE(SaveSceneryFile(file, "first\r\n").ok);
  ASSERT_TRUE(SaveSceneryFile(file, "second\r\n").ok);
  EXPECT_EQ(ReadFile(file), "second\r\n");
  EXPECT_EQ(ReadFile(file + ".bak"), "first\r\n");
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"Scenery.cfg", "Scenery.cfg.bak"}));
}

TEST(Save, FolderMissingOrInThePlaceOfTheFile) {
  TempFolder dir;
  const SaveResult missing =
      SaveSceneryFile(dir.File("no/such/Scenery.cfg"), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());

  std::filesystem::create_directory(dir.File("Scenery.cfg"));
  const SaveResult folder = SaveSceneryFile(dir.File("Scenery.cfg"), "x");
  EXPECT_FALSE(folder.ok);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Scenery.cfg")));
}

TEST(Save, LeftoverTemporaryNamesAreNotReused) {
  TempFolder dir;
  const std::string file = dir.File("Scenery.cfg");
  WriteFile(file, "old");
  WriteFile(file + ".sceneshifter-new", "someone else's");
  ASSERT_TRUE(SaveSceneryFile(file, "new").ok);
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(ReadFile(file + ".sceneshifter-new"), "someone else's");
}

}  // namespace
