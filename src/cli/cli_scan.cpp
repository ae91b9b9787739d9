// SPDX-License-Identifier: MIT
#include "cli_scan.h"

#include <nlohmann/json.hpp>

#include "cli.h"
#include "code_page.h"
#include "scenery_scan.h"

namespace sceneshifter {
namespace {

using Json = nlohmann::ordered_json;

// A field of a tab-separated line: tabs and line breaks become blanks.
std::string Field(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

struct ScanArgs {
  std::string file, dir, output;
  bool json = false;
};

bool Parse(const std::vector<std::string>& args, bool adding, ScanArgs& a,
           std::string& problem) {
  const std::string& verb = args[0];
  bool scanFlag = false;
  std::vector<std::string> positional;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (adding && arg == "--scan" && !scanFlag) {
      scanFlag = true;
    } else if (!adding && arg == "--json" && !a.json) {
      a.json = true;
    } else if (adding && arg == "--output" && a.output.empty()) {
      if (i + 1 >= args.size() || args[i + 1].empty())
        return problem = "--output takes one OUT", false;
      a.output = args[++i];
    } else if (!arg.empty() && arg[0] != '-') {
      positional.push_back(arg);
    } else {
      return problem = "unexpected argument '" + arg + "'", false;
    }
  }
  if (positional.empty() || positional.size() > 2) {
    problem = adding ? "add --scan takes FILE and may take DIR"
                     : verb + " takes FILE and may take DIR";
    return false;
  }
  a.file = positional[0];
  if (positional.size() == 2) a.dir = positional[1];
  return true;
}

void PrintNotes(const std::string& file, const FolderScan& scan,
                std::ostream& err) {
  for (const std::string& note : scan.notes)
    err << file << ": skipped " << note << "\n";
}

int Scan(const ScanArgs& a, std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  if (!LoadForCli(a.file, doc, err)) return 1;
  const FolderScan scan = ScanNewFolders(TakeHealthSnapshot(doc), a.dir);
  if (a.json) {
    Json folders = Json::array();
    for (const NewFolder& f : scan.folders)
      folders.push_back({{"path", Utf8FromBytes(f.PathValue)},
                         {"title", Utf8FromBytes(f.Title)},
                         {"bglFiles", f.bglFiles}});
    Json skipped = Json::array();
    for (const std::string& note : scan.notes) skipped.push_back(note);
    out << Json{{"file", a.file},
                {"folders", std::move(folders)},
                {"skipped", std::move(skipped)}}
               .dump(2, ' ', false, Json::error_handler_t::replace)
        << "\n";
    return 0;
  }
  for (const NewFolder& f : scan.folders)
    out << Field(Utf8FromBytes(f.PathValue)) << '\t'
        << Field(Utf8FromBytes(f.Title)) << '\t' << f.bglFiles << '\n';
  PrintNotes(a.file, scan, err);
  return 0;
}

int AddScanned(const ScanArgs& a, std::ostream& out, std::ostream& err) {
  SceneryFileLock lock;
  if (!LockForCli(a.file, a.output, lock, err)) return 1;
  SceneryDocument doc;
  if (!LoadForCli(a.file, doc, err)) return 1;
  const bool reordered = doc.AreasSorted;
  const FolderScan scan = ScanNewFolders(TakeHealthSnapshot(doc), a.dir);
  PrintNotes(a.file, scan, err);
  if (scan.folders.empty()) {
    out << "No new add-on folders were found. Nothing was written.\n";
    return 0;
  }
  const int first = doc.AreaCount() + 1;
  if (!AppendNewFolders(doc, scan.folders)) {
    err << a.file << ": " << TableFullText(doc, scan.folders.size()) << "\n";
    return 1;
  }
  if (!a.output.empty()) doc.ConfigFile = a.output;
  if (!SaveForCli(doc, out, err, &lock)) return 1;
  const std::size_t n = scan.folders.size();
  std::ostream& report = ReportStream(doc, out, err);
  report << "Added " << n << (n == 1 ? " area at layer " : " areas at layers ")
         << first;
  if (n > 1) report << " to " << doc.AreaCount();
  report << (reordered ? ". The areas were first put into numerical order and "
                         "renumbered.\n"
                       : ". The areas were already in numerical order.\n");
  return 0;
}

}  // namespace

bool IsScanVerb(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  if (args[0] == "scan") return true;
  if (args[0] != "add") return false;
  for (const std::string& a : args)
    if (a == "--scan") return true;
  return false;
}

int RunScanVerb(const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err, std::string& usageProblem) {
  const bool adding = args[0] == "add";
  ScanArgs a;
  if (!Parse(args, adding, a, usageProblem)) return 2;
  return adding ? AddScanned(a, out, err) : Scan(a, out, err);
}

}  // namespace sceneshifter
