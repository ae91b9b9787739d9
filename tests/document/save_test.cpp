// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <pwd.h>
#include <sys/xattr.h>
#endif
#endif
#include <chrono>
#include <string>
#include <thread>

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
  Busy,          // another save holds the file's lock
  CreateTemp,    // no new file can be made beside the scenery file
  BackupCopy,    // neither a second name nor a copy of the old text
  Changed,       // another program writes the file while the new text is
  BackupRename,  // the copy of the old text cannot take the backup's name
  FinalRename,   // the new text cannot take the file's name
  InPlace,       // the file cannot be written in place
  SyncFolder,    // the folder cannot be synced after the rename
};

// The real file system, with one step made to fail; it notes what the
// backup held when the file itself was replaced or written.
class FailingOps : public NativeFileOps {
 public:
  explicit FailingOps(Step failing)
      : NativeFileOps(true, std::chrono::milliseconds(100)),
        failing_(failing) {}
  bool WriteTemporary(const std::string& prefix, const std::string& bytes,
                      const std::string& model, std::string& created,
                      std::string& error) override {
    const bool backup = prefix.find(".bak.") != std::string::npos;
    if (failing_ == (backup ? Step::BackupCopy : Step::CreateTemp))
      return Fail(backup ? "no room for the copy" : "no room in the folder",
                  error);
    const bool ok =
        NativeFileOps::WriteTemporary(prefix, bytes, model, created, error);
    if (failing_ == Step::Changed && !model.empty())
      std::ofstream(HostPath(model), std::ios::binary) << "theirs";
    return ok;
  }
  bool LinkTemporary(const std::string& prefix, const std::string& path,
                     std::string& created, std::string& error) override {
    if (failing_ == Step::BackupCopy) return Fail("no second name", error);
    return NativeFileOps::LinkTemporary(prefix, path, created, error);
  }
  bool Replace(const std::string& from, const std::string& to,
               std::string& error) override {
    const bool backup = to.ends_with(".bak");
    if (!backup) NoteBackup(to);
    if (failing_ == (backup ? Step::BackupRename : Step::FinalRename))
      return Fail(backup ? "backup name taken" : "file is in use", error);
    return NativeFileOps::Replace(from, to, error);
  }
  bool WriteInPlace(const std::string& path, const std::string& bytes,
                    std::string& error) override {
    NoteBackup(path);
    if (failing_ == Step::InPlace) return Fail("disk full", error);
    return NativeFileOps::WriteInPlace(path, bytes, error);
  }
  bool SyncFolder(const std::string& folder, std::string& error) override {
    if (failing_ == Step::SyncFolder) return Fail("sync refused", error);
    return NativeFileOps::SyncFolder(folder, error);
  }
  std::string backupAtSwap;

 private:
  void NoteBackup(const std::string& file) {
    std::string error;
    ReadWholeFile(file + ".bak", backupAtSwap, error);
  }
  static bool Fail(const char* why, std::string& error) {
    error = why;
    return false;
  }
  Step failing_;
};

const std::string kOld = Crlf({"[Area.1]", "Title=old", ""});

}  // namespace

TEST(SaveProtocol, EachFailingStepOverAnExistingFile) {
  enum Text { Old, New, Theirs, Earlier };
  struct Case {
    Step failing;
    bool linked;  // a second hard link: the file is written in place
    bool ok;
    const char* reason;  // in the error, or in a warning when ok
    Text file, backup;
  };
  const std::vector<Case> cases = {
      {Step::None, false, true, "", New, Old},
      {Step::Busy, false, false, "in use by another program", Old, Earlier},
      {Step::CreateTemp, false, false, "no room in the folder", Old, Earlier},
      {Step::BackupCopy, false, true, "no room for the copy", New, Earlier},
      {Step::Changed, false, false, "changed the file", Theirs, Earlier},
      {Step::BackupRename, false, true, "backup name taken", New, Earlier},
      // The backup took its name first; the file was left as it was.
      {Step::FinalRename, false, false, "file is in use", Old, Old},
      {Step::SyncFolder, false, true, "sync refused", New, Old},
      {Step::None, true, true, "", New, Old},
      // Without a backup there is no writing in place.
      {Step::BackupCopy, true, false, "no room for the copy", Old, Earlier},
      {Step::BackupRename, true, false, "backup name taken", Old, Earlier},
      // The message names the backup that holds the text.
      {Step::InPlace, true, false, "Scenery.cfg.bak", Old, Old},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.failing) + 100 * c.linked);
    TempDir dir;
    dir.Write("Scenery.cfg", kOld);
    dir.Write("Scenery.cfg.bak", "earlier backup");
    const std::string leftover =
        "Scenery.cfg.sceneshifter-0123456789abcdef.tmp";
    dir.Write(leftover, "left by a save that was stopped");
    std::set<std::string> names{"Scenery.cfg", "Scenery.cfg.bak",
                                "Scenery.cfg.lock"};
    if (c.linked) {
      fs::create_hard_link(HostPath(dir.Path("Scenery.cfg")),
                           HostPath(dir.Path("other.cfg")));
      names.insert("other.cfg");
    }
    SceneryDocument doc;
    doc.ConfigFile = dir.Path("Scenery.cfg");
    ASSERT_EQ(LoadDocument(doc), "");
    doc.Areas[0].Title = "new";
    doc.FileChanged = true;
    const std::string texts[] = {kOld, WriteSceneryBytes(doc), "theirs",
                                 "earlier backup"};

    FailingOps ops(c.failing);
    SceneryFileLock other;
    std::string why;
    if (c.failing == Step::Busy) {
      ASSERT_TRUE(other.Acquire(doc.ConfigFile, DefaultFileOps(), why)) << why;
    }
    const SaveResult result = SaveDocument(doc, ops);
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.changedOnDisk, c.failing == Step::Changed);
    EXPECT_EQ(dir.Read("Scenery.cfg"), texts[c.file]);
    EXPECT_EQ(dir.Read("Scenery.cfg.bak"), texts[c.backup]);
    if (c.linked) {
      EXPECT_EQ(dir.Read("other.cfg"), texts[c.file]);
    }
    // Whenever the file's text was replaced, its backup already held it.
    if (!ops.backupAtSwap.empty() && c.backup == Old) {
      EXPECT_EQ(ops.backupAtSwap, kOld);
    }
    EXPECT_EQ(result.replacedText, c.ok ? kOld : "");
    // A failed save leaves no file of its own; a save clears up after
    // earlier ones.
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
    std::set<std::string> names{"Scenery.cfg.lock"};
    if (ok) names.insert("Scenery.cfg");
    EXPECT_EQ(dir.Names(), names);
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
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak",
                                   "Scenery.cfg.lock"}));
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
            (std::set<std::string>{"Scenery.cfg", "Other \xC3\xA9.cfg",
                                   "Other \xC3\xA9.cfg.lock"}));
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
  // The lock lies beside the file written, where a save through another
  // link to it meets it.
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"real.cfg", "real.cfg.lock", "Scenery.cfg",
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
  // What stopped saves of this file left: removed.
  for (const char* name : {"Scenery.cfg.sceneshifter-0123456789abcdef.tmp",
                           "Scenery.cfg.bak.sceneshifter-fedcba9876543210.tmp"})
    dir.Write(name, "half");
  // Everything else stays: a link or a folder at such a name, names that
  // only look alike (an earlier version's among them), and a temporary file
  // of a save of another file that may be running now.
  const std::string link = "Scenery.cfg.sceneshifter-1111111111111111.tmp";
  const std::string folder = "Scenery.cfg.sceneshifter-2222222222222222.tmp";
  fs::create_symlink(HostPath(dir.Path("elsewhere")), HostPath(dir.Path(link)));
  fs::create_directory(HostPath(dir.Path(folder)));
  std::set<std::string> kept = {"Scenery.cfg.sceneshifter-new",
                                "Scenery.cfg.bak.sceneshifter-old",
                                "Scenery.cfg.sceneshifter-0123456789ABCDEF.tmp",
                                "Scenery.cfg.sceneshifter",
                                "Other.cfg.sceneshifter-0123456789abcdef.tmp"};
  for (const std::string& name : kept) dir.Write(name, "user");
  kept.insert({"elsewhere", link, folder});
  // A backup that is a second name of the file itself.
  fs::create_hard_link(HostPath(dir.Path("Scenery.cfg")),
                       HostPath(dir.Path("Scenery.cfg.bak")));

  ASSERT_TRUE(SaveSceneryFile(dir.Path("Scenery.cfg"), "new").ok);
  EXPECT_EQ(dir.Read("Scenery.cfg"), "new");
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);
  EXPECT_EQ(dir.Read("elsewhere"), "not to be touched");
  EXPECT_FALSE(fs::is_symlink(HostPath(dir.Path("Scenery.cfg"))));
  std::set<std::string> names = kept;
  names.insert({"Scenery.cfg", "Scenery.cfg.bak", "Scenery.cfg.lock"});
  EXPECT_EQ(dir.Names(), names);
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

// A command holds the lock from its read to its save; its save does not
// wait for itself.
TEST(SaveOnDisk, TheLockHeldByTheCallerServesItsSave) {
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  const std::string path = dir.Path("Scenery.cfg");
  SceneryFileLock command;
  std::string why;
  ASSERT_TRUE(command.Acquire(path, DefaultFileOps(), why)) << why;
  NativeFileOps quick(true, std::chrono::milliseconds(100));
  const SaveResult mine =
      SaveSceneryFile(path, "mine", quick, nullptr, &command);
  EXPECT_TRUE(mine.ok) << mine.error;
  EXPECT_EQ(dir.Read("Scenery.cfg"), "mine");
}

#if defined(__linux__)
TEST(SaveIdentity, AFileOfAnotherOwnerKeepsItsOwnerAndInode) {
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root and 'nobody'";
  TempDir dir;
  fs::permissions(HostPath(dir.Path("")), fs::perms::all);
  dir.Write("Scenery.cfg", kOld);
  const std::string path = dir.Path("Scenery.cfg");
  fs::permissions(HostPath(path),
                  fs::perms::owner_read | fs::perms::owner_write |
                      fs::perms::group_read | fs::perms::group_write |
                      fs::perms::others_read | fs::perms::others_write);
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  // A user who may write the file but cannot give a new one its owner.
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(2);
    _exit(SaveSceneryFile(path, "new").ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(dir.Read("Scenery.cfg"), "new");
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kOld);
}

TEST(SaveIdentity, ExtendedAttributesAndAclsAreKept) {
  TempDir dir;
  dir.Write("Scenery.cfg", kOld);
  const std::string path = dir.Path("Scenery.cfg");
  if (setxattr(path.c_str(), "user.origin", "installer", 9, 0) != 0)
    GTEST_SKIP() << "no extended attributes on this file system";
  // Owner rw, the user 'nobody' rw, group r, mask rw, others nothing.
  struct AclEntry {
    std::uint16_t tag, perm;
    std::uint32_t id;
  };
  const std::uint32_t version = 2;
  const AclEntry entries[] = {{0x01, 6, ~0u},
                              {0x02, 6, 65534},
                              {0x04, 4, ~0u},
                              {0x10, 6, ~0u},
                              {0x20, 0, ~0u}};
  std::string acl(reinterpret_cast<const char*>(&version), sizeof version);
  acl.append(reinterpret_cast<const char*>(entries), sizeof entries);
  if (setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(),
               0) != 0)
    GTEST_SKIP() << "no ACLs on this file system";
  auto attribute = [](const std::string& file, const char* name) {
    std::string value(256, '\0');
    const ssize_t n = getxattr(file.c_str(), name, value.data(), value.size());
    value.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return value;
  };
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  const std::string aclBefore = attribute(path, "system.posix_acl_access");

  ASSERT_TRUE(SaveSceneryFile(path, "new").ok);
  struct stat replaced {};
  ASSERT_EQ(stat(path.c_str(), &replaced), 0);
  EXPECT_NE(replaced.st_ino, before.st_ino);  // a new file, not written over
  for (const std::string& file : {path, path + ".bak"}) {
    SCOPED_TRACE(file);
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(attribute(file, "user.origin"), "installer");
    EXPECT_EQ(attribute(file, "system.posix_acl_access"), aclBefore);
  }
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
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak",
                                   "Scenery.cfg.lock"}));
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
