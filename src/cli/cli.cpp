// SPDX-License-Identifier: MIT
#include "cli.h"

#include "cli_check.h"
#include "cli_edit.h"
#include "cli_locate.h"
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

constexpr const char* kUsage =
    "Usage: sceneshifter-cli list FILE [--json]\n"
    "       sceneshifter-cli check FILE [--json]\n"
    "       sceneshifter-cli normalize FILE [--output OUT]\n"
    "       sceneshifter-cli add FILE --title TITLE (--local FOLDER | --remote "
    "FOLDER)\n"
    "                        [--inactive] [--required] [--layer N] [--output "
    "OUT]\n"
    "       sceneshifter-cli delete FILE LAYER [--output OUT]\n"
    "       sceneshifter-cli move FILE LAYER TARGET [--output OUT]\n"
    "       sceneshifter-cli set FILE LAYER [--title TITLE]\n"
    "                        [--local FOLDER | --remote FOLDER]\n"
    "                        [--active | --inactive] [--required | "
    "--not-required]\n"
    "                        [--output OUT]\n"
    "       sceneshifter-cli locate [--json]\n"
    "       sceneshifter-cli versions list FILE [--json]\n"
    "       sceneshifter-cli versions diff FILE N [--json]\n"
    "       sceneshifter-cli versions restore FILE N\n"
    "\n"
    "list       print the scenery areas as the editor's title list shows "
    "them;\n"
    "           with --json, every field of every area as a JSON array\n"
    "check      report the areas that the simulator would skip or misread, "
    "one\n"
    "           line per problem: LAYER<TAB>CODE<TAB>TITLE<TAB>DETAIL; with\n"
    "           --json, one JSON document. Codes: no-folder, "
    "missing-folder,\n"
    "           no-scenery-subfolder, no-bgl-files, duplicate-folder, "
    "odd-flag\n"
    "normalize  sort and renumber the areas and save the file (keeping the "
    "old\n"
    "           one as FILE.bak), or write the result to OUT instead\n"
    "add        append an area as the editor's Add and O K do: one past the "
    "last\n"
    "           area, Active True (False with --inactive), Required False "
    "(True\n"
    "           with --required), no texture, exclude or flatten values, the\n"
    "           folder exactly as given; with --layer, then move it to layer N "
    "as\n"
    "           move does. Prints the new area's layer\n"
    "delete     delete the area at LAYER, as the editor's Delete does\n"
    "move       move the area at LAYER to layer TARGET in one step, as that "
    "many\n"
    "           presses of Raise or Lower would: no area is lowered below "
    "layer 3,\n"
    "           and the areas at layers 1 to 3 are not lowered at all\n"
    "set        change only the fields named, written as the editor's O K "
    "writes\n"
    "           them (\"True\"/\"False\", \"Local=\"/\"Remote=\"); every "
    "other field\n"
    "           keeps its bytes\n"
    "locate     print the installed simulator's Scenery.cfg files, one a "
    "line:\n"
    "           PATH<TAB>HOW (the registry, or a Wine prefix's registry or a\n"
    "           search of its drive_c); exits with 3 when there is none\n"
    "versions   the earlier texts that saves of FILE kept (the last 20): "
    "list\n"
    "           them newest first with their date and number of areas, show "
    "what\n"
    "           differs from version N (1 the newest) to FILE area by area, "
    "or\n"
    "           restore version N (saved as the edit verbs save)\n"
    "\n"
    "LAYER is an area's layer once the areas are in numerical order, as list\n"
    "shows it. TITLE and FOLDER are UTF-8; they are stored in the scenery\n"
    "file's code page, which --version names. add, delete, move and set load\n"
    "and save the file as normalize does, and print one line: what they did,\n"
    "and whether the areas had to be put into numerical order first.\n"
    "\n"
    "Exit status: 0 success, 1 the file cannot be read or saved, or the "
    "change\n"
    "is refused (nothing is written then), 2 usage; check exits with 3 when "
    "it\n"
    "finds problems.\n";

int Usage(std::ostream& err, const std::string& problem) {
  err << "sceneshifter-cli: " << problem << "\n" << kUsage;
  return 2;
}

// FILE with an optional --json, in either order; false on anything else.
bool FileAndJson(const std::vector<std::string>& args, std::string& file,
                 bool& json) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json" && !json)
      json = true;
    else if (file.empty() && !args[i].empty() && args[i][0] != '-')
      file = args[i];
    else
      return false;
  }
  return !file.empty();
}

int List(const std::string& file, std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  std::string text;
  for (int i = 0; i <= doc.LastArea; ++i) {
    text += TitleListEntry(doc.Areas[i]);
    text += '\n';
  }
  out << Utf8FromBytes(text);
  return 0;
}

int Normalize(const std::string& file, const std::string& output,
              std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  if (!output.empty()) doc.ConfigFile = output;
  if (!SaveForCli(doc, err)) return 1;
  out << (doc.AreasSorted ? "The areas were put into numerical order and "
                            "renumbered.\n"
                          : "The areas were already in order; renumbered.\n");
  return 0;
}

}  // namespace

bool LoadForCli(const std::string& file, SceneryDocument& doc,
                std::ostream& err) {
  doc.ConfigFile = file;
  std::string detail;
  const std::string failure = LoadDocument(doc, &detail);
  if (failure.empty()) return true;
  err << file << ": " << failure << "\n" << detail << "\n";
  return false;
}

bool SaveForCli(SceneryDocument& doc, std::ostream& err) {
  const SaveResult saved = SaveDocument(doc);
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

int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  if (args.empty()) return Usage(err, "no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    out << kUsage;
    return 0;
  }
  if (command == "--version") {
    out << "sceneshifter-cli " << SCENESHIFTER_VERSION << "\n"
        << "scenery text in code page " << ActiveCodePage() << "\n";
    return 0;
  }
  if (command == "list" || command == "check") {
    std::string file;
    bool json = false;
    if (!FileAndJson(args, file, json))
      return Usage(err, command + " takes one FILE and may take --json");
    if (command == "check") return CheckCommand(file, json, out, err);
    return json ? ListJsonCommand(file, out, err) : List(file, out, err);
  }
  if (IsEditVerb(command)) {
    std::string problem;
    const int status = RunEditVerb(args, out, err, problem);
    return status == 2 ? Usage(err, problem) : status;
  }
  if (command == "locate" || command == "versions") {
    std::string problem;
    const int status = command == "locate"
                           ? LocateCommand(args, out, err, problem)
                           : VersionsCommand(args, out, err, problem);
    return status == 2 ? Usage(err, problem) : status;
  }
  if (command == "normalize") {
    std::string file, output;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--output") {
        if (i + 1 >= args.size() || !output.empty())
          return Usage(err, "--output takes one OUT");
        output = args[++i];
        if (output.empty()) return Usage(err, "--output takes one OUT");
      } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
        file = args[i];
      } else {
        return Usage(err, "unexpected argument '" + args[i] + "'");
      }
    }
    if (file.empty()) return Usage(err, "normalize takes a FILE");
    return Normalize(file, output, out, err);
  }
  return Usage(err, "unknown command '" + command + "'");
}

}  // namespace sceneshifter
