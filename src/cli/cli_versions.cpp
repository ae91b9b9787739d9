// SPDX-License-Identifier: MIT
#include "cli_versions.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "cli.h"
#include "code_page.h"
#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_versions.h"
#include "table_difference.h"

namespace sceneshifter {
namespace {

using Json = nlohmann::ordered_json;

void Print(std::ostream& out, const Json& json) {
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

// A field of a tab-separated line: tabs and line breaks become blanks.
std::string Field(std::string_view bytes) {
  std::string text = Utf8FromBytes(bytes);
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

const char* KindName(const AreaDifference& d) {
  switch (d.kind) {
    case AreaDifference::Kind::Added:
      return "added";
    case AreaDifference::Kind::Removed:
      return "removed";
    case AreaDifference::Kind::Kept:
      break;
  }
  return "kept";
}

const char* SwitchName(AreaDifference::Switch s) {
  return s == AreaDifference::Switch::On ? "switched-on" : "switched-off";
}

// Version N of `file` (1 the newest) and its text; false, told on `err`,
// when there is no such version or it cannot be read.
bool ReadVersion(const std::string& file, int n, SceneryVersion& version,
                 std::string& text, std::ostream& err) {
  const VersionStore store(HostVersionsFolder());
  const std::vector<SceneryVersion> versions = store.List(file);
  if (n < 1 || n > static_cast<int>(versions.size())) {
    err << file << ": there is no earlier version " << n << " (there "
        << (versions.size() == 1 ? "is " : "are ") << versions.size() << ")\n";
    return false;
  }
  version = versions[n - 1];
  std::string error;
  if (!store.Read(version, text, error)) {
    err << version.file << ": the version could not be read: " << error << "\n";
    return false;
  }
  return true;
}

// The version's text as a table, read and sorted as a load does.
bool VersionTable(const SceneryVersion& version, const std::string& text,
                  SceneryDocument& doc, std::ostream& err) {
  ReadResult read = ReadSceneryBytes(text);
  if (!read.ok) {
    err << version.file << ": " << read.error << "\n" << read.detail << "\n";
    return false;
  }
  AdoptRead(doc, std::move(read));
  return true;
}

int List(const std::string& file, bool json, std::ostream& out) {
  const VersionStore store(HostVersionsFolder());
  Json list = Json::array();
  int n = 0;
  for (const SceneryVersion& v : store.List(file)) {
    ++n;
    std::string text, error;
    const int areas = store.Read(v, text, error) ? VersionAreaCount(text) : -1;
    if (json) {
      list.push_back({{"number", n},
                      {"name", v.name},
                      {"date", VersionDate(v)},
                      {"areas", areas},
                      {"file", v.file}});
    } else {
      out << n << '\t' << VersionDate(v) << '\t';
      if (areas < 0)
        out << "unreadable\n";
      else
        out << areas << (areas == 1 ? " area\n" : " areas\n");
    }
  }
  if (json) Print(out, list);
  return 0;
}

int Diff(const std::string& file, int n, bool json, std::ostream& out,
         std::ostream& err) {
  SceneryVersion version;
  std::string text;
  SceneryDocument earlier, current;
  if (!ReadVersion(file, n, version, text, err) ||
      !VersionTable(version, text, earlier, err) ||
      !LoadForCli(file, current, err))
    return 1;
  const std::vector<AreaDifference> differences =
      DifferenceOfTables(earlier, current);
  if (json) {
    Json list = Json::array();
    for (const AreaDifference& d : differences) {
      Json fields = Json::array();
      for (const FieldChange& f : d.fields)
        fields.push_back({{"field", f.field},
                          {"old", Utf8FromBytes(f.before)},
                          {"new", Utf8FromBytes(f.after)}});
      Json entry = {{"kind", KindName(d)},
                    {"title", Utf8FromBytes(d.title)},
                    {"oldLayer", d.layerBefore},
                    {"newLayer", d.layerAfter},
                    {"moved", d.moved}};
      if (d.switched != AreaDifference::Switch::None)
        entry["switched"] =
            d.switched == AreaDifference::Switch::On ? "on" : "off";
      entry["fields"] = std::move(fields);
      list.push_back(std::move(entry));
    }
    Print(out, {{"file", file},
                {"version", version.name},
                {"date", VersionDate(version)},
                {"differences", std::move(list)}});
    return 0;
  }
  for (const AreaDifference& d : differences) {
    const std::string title = Field(d.title);
    if (d.kind != AreaDifference::Kind::Kept) {
      const int layer = d.layerAfter ? d.layerAfter : d.layerBefore;
      out << layer << '\t' << KindName(d) << '\t' << title << "\t\n";
      continue;
    }
    if (d.moved)
      out << d.layerAfter << "\tmoved\t" << title << "\tlayer " << d.layerBefore
          << " -> " << d.layerAfter << '\n';
    if (d.switched != AreaDifference::Switch::None)
      out << d.layerAfter << '\t' << SwitchName(d.switched) << '\t' << title
          << "\t\n";
    for (const FieldChange& f : d.fields)
      out << d.layerAfter << "\tchanged\t" << title << '\t' << f.field << ": "
          << Field(f.before) << " -> " << Field(f.after) << '\n';
  }
  return 0;
}

int Restore(const std::string& file, int n, std::ostream& out,
            std::ostream& err) {
  SceneryVersion version;
  std::string text;
  SceneryFileLock lock;
  if (!LockForCli(file, std::string(), lock, err)) return 1;
  SceneryDocument doc;
  // A file that is gone can be brought back too.
  if (FileExists(file) ? !LoadForCli(file, doc, err) : false) return 1;
  doc.ConfigFile = file;
  if (!ReadVersion(file, n, version, text, err) ||
      !VersionTable(version, text, doc, err) ||
      !SaveForCli(doc, out, err, &lock))
    return 1;
  out << "Restored the version of " << VersionDate(version) << " ("
      << doc.AreaCount() << (doc.AreaCount() == 1 ? " area).\n" : " areas).\n");
  return 0;
}

}  // namespace

int VersionsCommand(const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err, std::string& problem) {
  const std::string verb = args.size() > 1 ? args[1] : "";
  if (verb != "list" && verb != "diff" && verb != "restore") {
    problem = "versions takes list, diff or restore";
    return 2;
  }
  std::vector<std::string> positional;
  bool json = false;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--json" && !json && verb != "restore")
      json = true;
    else if (!args[i].empty() && args[i][0] != '-')
      positional.push_back(args[i]);
    else
      return problem = "unexpected argument '" + args[i] + "'", 2;
  }
  const std::size_t wanted = verb == "list" ? 1 : 2;
  if (positional.size() != wanted) {
    problem = verb == "list" ? "versions list takes one FILE"
                             : "versions " + verb + " takes FILE and N";
    return 2;
  }
  const std::string& file = positional[0];
  if (verb == "list") return List(file, json, out);
  int n = 0;
  const std::string& number = positional[1];
  const auto [end, ec] =
      std::from_chars(number.data(), number.data() + number.size(), n);
  if (ec != std::errc() || end != number.data() + number.size() || n < 1) {
    problem = "N is a version's number, 1 for the newest";
    return 2;
  }
  return verb == "diff" ? Diff(file, n, json, out, err)
                        : Restore(file, n, out, err);
}

}  // namespace sceneshifter
