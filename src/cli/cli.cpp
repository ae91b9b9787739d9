// SPDX-License-Identifier: MIT
#include "cli.h"

#include <algorithm>

#include "cli_args.h"
#include "cli_check.h"
#include "cli_edit.h"
#include "cli_locate.h"
#include "cli_scan.h"
#include "cli_sets.h"
#include "cli_versions.h"
#include "code_page.h"
#include "scenery_reader.h"
#include "scenery_versions.h"
#include "scenery_writer.h"

#ifndef SCENESHIFTER_VERSION
#define SCENESHIFTER_VERSION "0"
#endif

namespace sceneshifter {
namespace {

// What every help ends with.
constexpr const char* kNotes =
    "LAYER is an area's layer once the areas are in numerical order, as list\n"
    "shows it. TITLE and FOLDER are UTF-8; they are stored in the scenery\n"
    "file's code page, which --version names. The editing commands load and\n"
    "save the file as normalize does, and print one line: what they did, and\n"
    "whether the areas had to be put into numerical order first. -- ends the\n"
    "options; VERB --help prints that command's help.\n"
    "\n"
    "Exit status: 0 success, 1 the file cannot be read or saved, or the "
    "change\n"
    "is refused (nothing is written then), 2 usage; check exits with 3 when "
    "it\n"
    "reports problems.\n";

// FILE, the one word a reading verb takes.
bool OneFile(const CliArgs& args, std::string& problem) {
  if (args.positional.size() == 1) return true;
  problem = args.verb + " takes one FILE";
  return false;
}

// The title list as lines of LAYER<TAB>TITLE.
int List(const CliArgs& args, std::ostream& out, std::ostream& err,
         std::string& usageProblem) {
  if (!OneFile(args, usageProblem)) return 2;
  const std::string& file = args.positional[0];
  if (args.Has("--json")) return ListJsonCommand(file, out, err);
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  std::string text;
  for (int i = 0; i <= doc.LastArea; ++i) {
    text += std::to_string(doc.Areas[i].Layer);
    text += '\t';
    text += TabField(doc.Areas[i].Title);
    text += '\n';
  }
  out << Utf8FromBytes(text);
  return 0;
}

int Check(const CliArgs& args, std::ostream& out, std::ostream& err,
          std::string& usageProblem) {
  if (!OneFile(args, usageProblem)) return 2;
  return CheckCommand(args.positional[0], args.Has("--json"), args.Has("--all"),
                      out, err);
}

int Normalize(const CliArgs& args, std::ostream& out, std::ostream& err,
              std::string& usageProblem) {
  if (!OneFile(args, usageProblem)) return 2;
  const auto found = args.values.find("--output");
  if (found != args.values.end() && found->second.empty()) {
    usageProblem = "--output must not be empty";
    return 2;
  }
  const std::string& file = args.positional[0];
  const std::string output =
      found != args.values.end() ? found->second : std::string();
  SceneryFileLock lock;
  if (!LockForCli(file, output, lock, err)) return 1;
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  if (!output.empty()) doc.ConfigFile = output;
  if (!SaveForCli(doc, out, err, &lock)) return 1;
  ReportStream(doc, out, err)
      << (doc.AreasSorted ? "The areas were put into numerical order and "
                            "renumbered.\n"
                          : "The areas were already in order; renumbered.\n");
  return 0;
}

const std::vector<std::string> kOutput = {"--output"};

const CliVerb kVerbs[] = {
    {"list",
     "list FILE [--json]",
     "print the scenery areas by layer and title, one area a line:\n"
     "           LAYER<TAB>TITLE; with --json, every field of every area as "
     "a\n"
     "           JSON array, \"active\" and \"required\" as true or false, "
     "and the\n"
     "           section's other lines as \"extraLines\"",
     {},
     {"--json"},
     List,
     nullptr},
    {"check",
     "check FILE [--json] [--all]",
     "report the active areas that the simulator would skip or misread,\n"
     "           one line per problem: LAYER<TAB>CODE<TAB>TITLE<TAB>DETAIL; "
     "with\n"
     "           --json, one JSON document. Codes: no-folder, "
     "missing-folder,\n"
     "           no-scenery-subfolder, no-bgl-files, duplicate-folder, "
     "odd-flag;\n"
     "           --all adds the inactive areas (an odd flag is always "
     "reported)",
     {},
     {"--json", "--all"},
     Check,
     nullptr},
    {"normalize",
     "normalize FILE [--output OUT]",
     "sort and renumber the areas and save the file (keeping the old\n"
     "           one as FILE.bak), or write the result to OUT instead",
     kOutput,
     {},
     Normalize,
     nullptr},
    {"add",
     "add FILE --title TITLE (--local FOLDER | --remote FOLDER)\n"
     "                        [--inactive] [--required] [--layer N] "
     "[--output OUT]\n"
     "       sceneshifter-cli add FILE --scan [DIR] [--output OUT]",
     "append an area as the editor's Add and O K do: one past the last\n"
     "           area, Active True (False with --inactive), Required False "
     "(True\n"
     "           with --required), no texture, exclude or flatten values, "
     "the\n"
     "           folder exactly as given; with --layer, then move it to "
     "layer N as\n"
     "           move does. Prints the new area's layer. A --local folder "
     "that does\n"
     "           not exist is saved all the same, with a warning",
     {"--title", "--local", "--remote", "--layer", "--output"},
     {"--inactive", "--required"},
     RunEditVerb,
     nullptr},
    {"delete",
     "delete FILE LAYER [--output OUT]",
     "delete the area at LAYER, as the editor's Delete does",
     kOutput,
     {},
     RunEditVerb,
     nullptr},
    {"move",
     "move FILE LAYER TARGET [--output OUT]",
     "move the area at LAYER to layer TARGET in one step, as that many\n"
     "           presses of Raise or Lower would: no area is lowered below "
     "layer 3,\n"
     "           and the areas at layers 1 to 3 are not lowered at all",
     kOutput,
     {},
     RunEditVerb,
     nullptr},
    {"set",
     "set FILE LAYER... [--title TITLE] [--local FOLDER | --remote FOLDER]\n"
     "                        [--active | --inactive] [--required | "
     "--not-required]\n"
     "                        [--exclude EXCLUDE] [--output OUT]",
     "change only the fields named, of every area named, in one save;\n"
     "           written as the editor's O K writes them (\"True\"/"
     "\"False\",\n"
     "           \"Local=\"/\"Remote=\"); every other field keeps its bytes. "
     "An empty\n"
     "           EXCLUDE removes the exclude value",
     {"--title", "--local", "--remote", "--exclude", "--output"},
     {"--active", "--inactive", "--required", "--not-required"},
     RunEditVerb,
     nullptr},
    {"activate",
     "activate FILE LAYER... [--output OUT]",
     "set Active=True in every area named, in one save",
     kOutput,
     {},
     RunEditVerb,
     nullptr},
    {"deactivate",
     "deactivate FILE (LAYER... | --problems) [--output OUT]",
     "set Active=False in every area named, in one save; with --problems,\n"
     "           in every active area that check reports, but not in one "
     "whose\n"
     "           only problem is a folder that another area uses too",
     kOutput,
     {"--problems"},
     RunEditVerb,
     nullptr},
    {"scan",
     "scan FILE [DIR] [--json]",
     "list the add-on folders (a scenery subfolder with .bgl files) in\n"
     "           FILE's folder, or DIR, and three levels below that no area "
     "leads\n"
     "           to: PATH<TAB>TITLE<TAB>BGL-FILES; with --json, one JSON "
     "document",
     {},
     {"--json"},
     nullptr,
     RunScanVerb},
    {"locate",
     "locate [--json]",
     "print the installed simulator's Scenery.cfg files, one a line:\n"
     "           PATH<TAB>HOW (the registry, or a Wine prefix's registry or "
     "a\n"
     "           search of its drive_c); exits with 3 when there is none",
     {},
     {"--json"},
     nullptr,
     LocateCommand},
    {"versions",
     "versions list FILE [--json]\n"
     "       sceneshifter-cli versions diff FILE N [--json]\n"
     "       sceneshifter-cli versions restore FILE N",
     "the earlier texts that saves of FILE kept (the last 20): list\n"
     "           them newest first with their date and number of areas, "
     "show what\n"
     "           differs from version N (1 the newest) to FILE area by area, "
     "or\n"
     "           restore version N (saved as the edit verbs save)",
     {},
     {},
     nullptr,
     VersionsCommand},
    {"sets",
     "sets list FILE\n"
     "       sceneshifter-cli sets (save | apply | delete) FILE NAME\n"
     "       sceneshifter-cli sets rename FILE OLD NEW",
     "the scenery sets kept in FILE.sets.json: list prints each set's\n"
     "           NAME<TAB>N areas, A active; save keeps every area's Active "
     "flag as\n"
     "           set NAME; apply gives the areas that set NAME knows its "
     "flags and\n"
     "           saves FILE as set does; delete and rename change the sets "
     "alone",
     {},
     {},
     nullptr,
     RunSetsCommand},
};

const CliVerb* FindVerb(const std::string& name) {
  for (const CliVerb& verb : kVerbs)
    if (name == verb.name) return &verb;
  return nullptr;
}

// The verb's paragraph of the help: its name, then its description.
std::string Described(const CliVerb& verb) {
  std::string name = verb.name;
  name.resize(std::max<std::size_t>(name.size() + 1, 11), ' ');
  return name + verb.description + "\n";
}

std::string Usage() {
  std::string text;
  for (const CliVerb& verb : kVerbs)
    text += (text.empty() ? "Usage: " : "       ") +
            std::string("sceneshifter-cli ") + verb.synopsis + "\n";
  text += "       sceneshifter-cli VERB --help | --help | --version\n\n";
  for (const CliVerb& verb : kVerbs) text += Described(verb);
  return text + "\n" + kNotes;
}

std::string Usage(const CliVerb& verb) {
  return std::string("Usage: sceneshifter-cli ") + verb.synopsis + "\n\n" +
         Described(verb) + "\n" + kNotes;
}

int UsageError(std::ostream& err, const std::string& problem,
               const std::string& usage) {
  err << "sceneshifter-cli: " << problem << "\n" << usage;
  return 2;
}

// The first line of a failed read says what the path and the reason are.
std::string ReadFailureLine(const std::string& file, const std::string& error,
                            const std::string& detail) {
  if (error == kReadFailureMessage && detail.rfind(file + ": ", 0) == 0)
    return detail;
  return file + ": " + error;
}

}  // namespace

std::string TabField(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

bool LoadForCli(const std::string& file, SceneryDocument& doc,
                std::ostream& err) {
  doc.ConfigFile = file;
  std::string detail;
  const std::string failure = LoadDocument(doc, &detail);
  if (failure.empty()) return true;
  err << ReadFailureLine(file, failure, detail) << "\n";
  return false;
}

bool LockForCli(const std::string& file, const std::string& output,
                SceneryFileLock& lock, std::ostream& err) {
  std::string why;
  if (!output.empty() || lock.Acquire(file, DefaultFileOps(), why)) return true;
  err << file << ": could not be saved: " << why << ". Nothing was changed\n";
  return false;
}

bool SaveForCli(SceneryDocument& doc, std::ostream& out, std::ostream& err,
                const SceneryFileLock* lock) {
  if (doc.ConfigFile == kStandardOutput) {
    const std::string bytes = WriteSceneryBytes(doc);
    const std::string problem = StorageProblem(doc, bytes);
    if (!problem.empty()) {
      err << "-: could not be written: " << problem << "\n";
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return true;
  }
  const SaveResult saved =
      SaveDocument(doc, DefaultFileOps(), SaveMode::CheckDisk, lock);
  if (!saved.ok) {
    err << doc.ConfigFile << ": could not be saved: " << saved.error << "\n";
    return false;
  }
  std::string versionWarning;
  if (saved.replacedExisting)
    versionWarning = KeepReplacedText(doc.ConfigFile, saved.replacedText);
  const std::string* const warnings[] = {&saved.backupWarning,
                                         &saved.syncWarning, &versionWarning};
  for (const std::string* warning : warnings)
    if (!warning->empty()) err << doc.ConfigFile << ": " << *warning << "\n";
  return true;
}

std::ostream& ReportStream(const SceneryDocument& doc, std::ostream& out,
                           std::ostream& err) {
  return doc.ConfigFile == kStandardOutput ? err : out;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  if (args.empty()) return UsageError(err, "no command given", Usage());
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    out << Usage();
    return 0;
  }
  const CliVerb* verb = FindVerb(command);
  if (!verb && command != "--version")
    return UsageError(err, "unknown command '" + command + "'", Usage());
  if (verb && AsksForHelp(args, *verb)) {
    out << Usage(*verb);
    return 0;
  }
  // Every command reads or writes text in the code page.
  if (const std::string problem = ActiveCodePageProblem(); !problem.empty()) {
    err << "sceneshifter-cli: " << problem << "\n";
    return 2;
  }
  if (!verb) {
    out << "sceneshifter-cli " << SCENESHIFTER_VERSION << "\n"
        << "scenery text in code page " << ActiveCodePage() << "\n";
    return 0;
  }
  CliArgs parsed;
  std::string problem;
  int status = 2;
  if (command == "add" && IsScanVerb(args))
    status = RunScanVerb(args, out, err, problem);
  else if (verb->runWords)
    status = verb->runWords(args, out, err, problem);
  else if (ParseCliArgs(args, *verb, parsed, problem))
    status = verb->run(parsed, out, err, problem);
  return status == 2 ? UsageError(err, problem, Usage(*verb)) : status;
}

}  // namespace sceneshifter
