// SPDX-License-Identifier: MIT
#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"
#include "code_page.h"
#include "scenery_writer.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>
#endif

using namespace sceneshifter;
using sceneshifter::testing::Cli;
using sceneshifter::testing::CliRun;
using sceneshifter::testing::Crlf;
using sceneshifter::testing::KeepVersionsAway;
using sceneshifter::testing::TempDir;

namespace {

// Areas 3, 1, 2 in file order, one title in windows-1252 bytes.
const std::string kScenery =
    Crlf({"[General]", "Title=World", "[Area.003]", "Title=Gamma",
          "Local=Scenery\\G", "[Area.001]", "Title=Z\xFCrich \x80 caf\xE9",
          "Remote=\\\\srv\\Z", "Layer=1", "[Area.002]", "Title=Beta",
          "Flatten.4=x"});

}  // namespace

TEST(CliUsage, ExitTwoWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"list"},
      {"list", "a", "b"},
      {"normalize"},
      {"normalize", "a", "b"},
      {"normalize", "a", "--output"},
      {"normalize", "a", "--output", ""},
      {"normalize", "a", "--output", "x", "--output", "y"},
      {"normalize", "--output", "x"},
      {"normalize", "a", "--force"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += "'" + a + "' ";
    SCOPED_TRACE(joined);
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    EXPECT_EQ(run.err.rfind("sceneshifter-cli: ", 0), 0u);
  }
}

TEST(CliUsage, HelpAndVersion) {
  for (const char* flag : {"--help", "-h"}) {
    const CliRun run = Cli({flag});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage:", 0), 0u);
    EXPECT_EQ(run.err, "");
  }
  const CliRun run = Cli({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("sceneshifter-cli ", 0), 0u);
  EXPECT_NE(run.out.find("code page 1252\n"), std::string::npos) << run.out;
}

TEST(CliList, PrintsTheTitleListInUtf8) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const CliRun run = Cli({"list", dir.Path("Scenery.cfg")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "1\tZ\xC3\xBCrich \xE2\x82\xAC caf\xC3\xA9\n"
            "2\tBeta\n"
            "3\tGamma\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(dir.Read("Scenery.cfg"), kScenery);  // listing writes nothing
  EXPECT_EQ(dir.Names(), std::set<std::string>{"Scenery.cfg"});
}

TEST(CliFailures, ExitOneAndNothingWritten) {
  TempDir dir;
  dir.Write("bad.cfg", "no area here\r\n");
  dir.Write("Scenery.cfg", kScenery);
  std::string tooMany;
  for (int i = 0; i < 3002; ++i) tooMany += "[Area.1]\r\nTitle=t\r\n";
  dir.Write("huge.cfg", tooMany);
  std::filesystem::create_directory(HostPath(dir.Path("folder")));
  // The lock file of a file that was to be saved stays.
  auto unlocked = [&dir] {
    std::set<std::string> names = dir.Names();
    std::erase_if(names,
                  [](const std::string& n) { return n.ends_with(".lock"); });
    return names;
  };
  const auto before = unlocked();
  // One line: the path, then the reason.
  struct Case {
    std::vector<std::string> args;
    std::string line;  // the start of it
  };
  const std::vector<Case> cases = {
      {{"list", dir.Path("missing.cfg")},
       dir.Path("missing.cfg") + ": there is no such file"},
      {{"list", dir.Path("folder")}, dir.Path("folder") + ": "},
      {{"check", dir.Path("missing.cfg")},
       dir.Path("missing.cfg") + ": there is no such file"},
      {{"delete", dir.Path("missing.cfg"), "1"},
       dir.Path("missing.cfg") + ": there is no such file"},
      {{"list", dir.Path("bad.cfg")},
       dir.Path("bad.cfg") + ": there is no [Area. line"},
      {{"list", dir.Path("huge.cfg")},
       dir.Path("huge.cfg") + ": " + kTooManyAreasMessage},
      {{"normalize", dir.Path("bad.cfg")}, dir.Path("bad.cfg") + ": "},
      {{"normalize", dir.Path("huge.cfg"), "--output", dir.Path("o.cfg")},
       dir.Path("huge.cfg") + ": " + kTooManyAreasMessage},
      {{"normalize", dir.Path("Scenery.cfg"), "--output",
        dir.Path("no-such-folder") + "/out.cfg"},
       dir.Path("no-such-folder") + "/out.cfg: could not be saved"},
      {{"normalize", dir.Path("Scenery.cfg"), "--output", dir.Path("folder")},
       dir.Path("folder") + ": could not be saved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.line, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_EQ(unlocked(), before);
    EXPECT_EQ(dir.Read("Scenery.cfg"), kScenery);
  }
}

TEST(CliNormalize, RewritesInPlaceKeepingABackup) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const CliRun run = Cli({"normalize", dir.Path("Scenery.cfg")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "The areas were put into numerical order and renumbered.\n");
  EXPECT_EQ(run.err, "");
  const std::string expected = Crlf({"[General]",
                                     "Title=World",
                                     "[Area.001]",
                                     "Title=Z\xFCrich \x80 caf\xE9",
                                     "Remote=\\\\srv\\Z",
                                     "Active=",
                                     "Required=",
                                     "Layer=1",
                                     "",
                                     "[Area.002]",
                                     "Title=Beta",
                                     "",
                                     "Active=",
                                     "Required=",
                                     "Layer=2",
                                     "Flatten.0=x",
                                     "",
                                     "[Area.003]",
                                     "Title=Gamma",
                                     "Local=Scenery\\G",
                                     "Active=",
                                     "Required=",
                                     "Layer=3",
                                     ""});
  EXPECT_EQ(dir.Read("Scenery.cfg"), expected);
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), kScenery);

  // A second run finds the areas in order and writes the same bytes.
  const CliRun again = Cli({"normalize", dir.Path("Scenery.cfg")});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out, "The areas were already in order; renumbered.\n");
  EXPECT_EQ(dir.Read("Scenery.cfg"), expected);
  EXPECT_EQ(dir.Read("Scenery.cfg.bak"), expected);
  EXPECT_EQ(dir.Names(),
            (std::set<std::string>{"Scenery.cfg", "Scenery.cfg.bak",
                                   "Scenery.cfg.lock"}));
}

TEST(CliNormalize, WritesToOutputLeavingTheInputAlone) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const CliRun run = Cli(
      {"normalize", "--output", dir.Path("out.cfg"), dir.Path("Scenery.cfg")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(dir.Read("Scenery.cfg"), kScenery);
  const CliRun inPlace = Cli({"normalize", dir.Path("Scenery.cfg")});
  ASSERT_EQ(inPlace.status, 0);
  EXPECT_EQ(dir.Read("out.cfg"), dir.Read("Scenery.cfg"));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{
                             "Scenery.cfg", "Scenery.cfg.bak",
                             "Scenery.cfg.lock", "out.cfg", "out.cfg.lock"}));
}

TEST(CliNormalize, OutputToStandardOutput) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const CliRun toFile =
      Cli({"normalize", "FILE", "--output", dir.Path("o.cfg")},
          dir.Path("Scenery.cfg"));
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  const CliRun run =
      Cli({"normalize", "FILE", "--output", "-"}, dir.Path("Scenery.cfg"));
  EXPECT_EQ(run.status, 0);
  // The text alone on standard output; every message on standard error.
  EXPECT_EQ(run.out, dir.Read("o.cfg"));
  EXPECT_EQ(run.err, toFile.out);
  EXPECT_EQ(dir.Read("Scenery.cfg"), kScenery);
}

#ifndef _WIN32
// A FIFO is written, never replaced; with no reader the run fails at once.
TEST(CliNormalize, OutputToAFifo) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const std::string fifo = dir.Path("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const CliRun unread =
      Cli({"normalize", "FILE", "--output", fifo}, dir.Path("Scenery.cfg"));
  EXPECT_EQ(unread.status, 1);
  EXPECT_NE(unread.err.find("no program is reading from it"), std::string::npos)
      << unread.err;

  auto reader = std::async(std::launch::async, [&fifo] {
    std::ifstream in(fifo, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  });
  CliRun run{};
  // The reader may not have opened its end yet.
  for (int attempt = 0; attempt < 200; ++attempt) {
    run = Cli({"add", "FILE", "--title", "T", "--local", "x", "--output", fifo},
              dir.Path("Scenery.cfg"));
    if (run.status == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (run.status != 0) std::ofstream{fifo};  // lets the reader end
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Added area \"T\" at layer 4", 0), 0u) << run.out;
  const std::string text = reader.get();
  EXPECT_NE(text.find("Title=T\r\nLocal=x\r\n"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"Scenery.cfg", "pipe"}));
}

// Two runs of ours at once on one file: both changes land, or one run
// fails saying the file is in use; never both succeed with one lost.
TEST(CliConcurrency, TwoAddsLoseNothing) {
  TempDir dir;
  const std::string file = dir.Path("Scenery.cfg");
  auto run = [&](const char* title) {
    return std::string("( '") + SCENESHIFTER_CLI_EXE + "' add '" + file +
           "' --title " + title + " --local " + title + " >/dev/null 2>'" +
           dir.Path(title) + ".err'; echo $? >'" + dir.Path(title) +
           ".status' ) & ";
  };
  const std::string both = run("RaceA") + run("RaceB") + "wait";
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    dir.Write("Scenery.cfg", kScenery);
    ASSERT_EQ(std::system(both.c_str()), 0);
    const std::string text = dir.Read("Scenery.cfg");
    for (const std::string title : {"RaceA", "RaceB"}) {
      const std::string status = dir.Read(title + ".status");
      if (status == "0\n") {
        EXPECT_NE(text.find("Title=" + title), std::string::npos) << title;
      } else {
        EXPECT_EQ(status, "1\n");
        EXPECT_NE(dir.Read(title + ".err").find("in use by another program"),
                  std::string::npos);
      }
    }
  }
}
#endif

TEST(BundledExample, LoadsSortedWithEveryKindOfLine) {
  SceneryDocument doc;
  doc.ConfigFile = SCENESHIFTER_EXAMPLE;
  ASSERT_EQ(LoadDocument(doc), "");
  EXPECT_TRUE(doc.AreasSorted);  // so loading it shows the sorted message
  EXPECT_EQ(doc.LastArea, 21);
  int textures = 0, excludes = 0, flattens = 0;
  for (int i = 0; i <= doc.LastArea; ++i) {
    textures += !doc.Areas[i].TextureLine.empty();
    excludes += !doc.Areas[i].Exclude.empty();
    flattens += !doc.Areas[i].Flatten[0].empty();
  }
  EXPECT_GT(textures, 0);
  EXPECT_GT(excludes, 0);
  EXPECT_GT(flattens, 0);
  const std::string out = WriteSceneryBytes(doc);
  EXPECT_LT(out.find("[Cache]\r\n"), out.find("[Area.001]"));
  const CliRun run = Cli({"list", SCENESHIFTER_EXAMPLE});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("5\tB\xC3\xA4renfels Valley\n"), std::string::npos);
}

#ifdef _WIN32
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf16FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

// The built sceneshifter-cli.exe, its standard output and error caught in
// files: the real program through its wide-argument entry point.
CliRun RunProgram(const std::vector<std::string>& args) {
  KeepVersionsAway();
  std::string exe = SCENESHIFTER_CLI_EXE;
  if (exe.rfind('/', 0) == 0) exe = "Z:" + exe;  // a host path under Wine
  std::wstring line = L"\"" + Wide(exe) + L"\"";
  for (const std::string& a : args) line += L" \"" + Wide(a) + L"\"";
  TempDir io;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const auto open = [&](const char* name) {
    return CreateFileW(Wide(io.Path(name)).c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = open("out");
  start.hStdError = open("err");
  PROCESS_INFORMATION process{};
  DWORD status = 99;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     nullptr, &start, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << exe;
  }
  CloseHandle(start.hStdOutput);
  CloseHandle(start.hStdError);
  return {static_cast<int>(status), io.Read("out"), io.Read("err")};
}

}  // namespace

// The program a user meets in Explorer: its icon, its version, and the
// manifest that keeps long paths and the ANSI code page.
TEST(CliOnWindows, CarriesItsIconVersionAndManifest) {
  std::string exe = SCENESHIFTER_CLI_EXE;
  if (exe.rfind('/', 0) == 0) exe = "Z:" + exe;
  const std::wstring path = Wide(exe);
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
  wchar_t* version = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(),
                             L"\\StringFileInfo\\040904b0\\ProductVersion",
                             reinterpret_cast<void**>(&version), &length));
  EXPECT_EQ(std::wstring(version), Wide(SCENESHIFTER_VERSION));
  const HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr,
                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  // The group icon (RT_GROUP_ICON, 14) and the manifest (RT_MANIFEST, 24).
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)),
            nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)),
            nullptr);
  FreeLibrary(module);
}

// Letters that the ANSI code page lacks (Ω, Ł) in the folder and file
// names, which a narrow argv would have lost.
TEST(CliOnWindows, AccentedNamesOnTheCommandLine) {
  TempDir dir;
  const std::string folder = "Fl\xC3\xBCge \xCE\xA9";
  const std::string file = folder + "\\Sc\xC3\xA9nery \xC5\x81.cfg";
  ASSERT_TRUE(CreateDirectoryW(Wide(dir.Path(folder)).c_str(), nullptr));
  dir.Write(file, kScenery);
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // the start of standard output
    std::string err;  // in standard error
  };
  const std::vector<Case> cases = {
      {{"list", dir.Path(file)}, 0, "1\tZ\xC3\xBCrich \xE2\x82\xAC", ""},
      {{"normalize", dir.Path(file), "--output",
        dir.Path(folder + "\\\xC3\xA9.cfg")},
       0,
       "The areas were put",
       ""},
      {{"list", dir.Path(folder + "\\\xC3\xA9.cfg")}, 0, "1\tZ", ""},
      {{"list", dir.Path(folder + "\\\xC5\x81.cfg")},
       1,
       "",
       dir.Path(folder + "\\\xC5\x81.cfg") + ": "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun run = RunProgram(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_EQ(dir.Read(file), kScenery);
}
#endif

#ifndef _WIN32
// The real program, which reads the variable once at its start.
TEST(CliCodePage, AnUnknownCodePageIsAUsageError) {
  TempDir dir;
  dir.Write("Scenery.cfg", kScenery);
  const std::string command = "SCENESHIFTER_CODEPAGE=65001 '" +
                              std::string(SCENESHIFTER_CLI_EXE) + "' list '" +
                              dir.Path("Scenery.cfg") + "' 2>'" +
                              dir.Path("err") + "' >'" + dir.Path("out") + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(dir.Read("out"), "");
  EXPECT_EQ(dir.Read("err").rfind(
                "sceneshifter-cli: SCENESHIFTER_CODEPAGE is \"65001\"", 0),
            0u);
  EXPECT_NE(dir.Read("err").find("874, 1250"), std::string::npos);
}
#endif
