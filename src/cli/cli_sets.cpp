// SPDX-License-Identifier: MIT
#include "cli_sets.h"

#include "cli.h"
#include "scenery_sets.h"
#include "scenery_sets_file.h"

namespace sceneshifter {
namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

int ActiveCount(const ScenerySet& set) {
  int active = 0;
  for (const SetArea& a : set.areas) active += a.active;
  return active;
}

std::string Summary(const ScenerySet& set) {
  return std::to_string(set.areas.size()) + " areas, " +
         std::to_string(ActiveCount(set)) + " active";
}

// A refusal: the sets file and why, and the reassurance every refusal
// gives.
int Refuse(std::ostream& err, const std::string& path, std::string why) {
  if (!why.empty() && why.back() != '.') why += '.';
  err << path << ": " << why << " Nothing was written.\n";
  return 1;
}

// Writes the changed sets; false with the reason on `err`.
bool Write(const std::string& path, SetsFile& file, std::ostream& err) {
  const SaveResult saved = WriteSetsFile(path, file);
  if (!saved.ok) {
    err << path << ": could not be saved: " << saved.error << "\n";
    return false;
  }
  for (const std::string* warning : {&saved.backupWarning, &saved.syncWarning})
    if (!warning->empty()) err << path << ": " << *warning << "\n";
  return true;
}

}  // namespace

int RunSetsCommand(const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err, std::string& usageProblem) {
  const std::string verb = args.size() > 1 ? args[1] : std::string();
  // The arguments each verb takes after FILE: names.
  const int names = verb == "list"     ? 0
                    : verb == "rename" ? 2
                    : verb == "save" || verb == "apply" || verb == "delete"
                        ? 1
                        : -1;
  if (names < 0) {
    usageProblem = "sets takes list, save, apply, delete or rename";
    return 2;
  }
  if (args.size() != static_cast<std::size_t>(names) + 3) {
    usageProblem = verb == "list"     ? "sets list takes FILE"
                   : verb == "rename" ? "sets rename takes FILE OLD NEW"
                                      : "sets " + verb + " takes FILE NAME";
    return 2;
  }
  const std::string& file = args[2];
  std::vector<std::string> given;
  for (int k = 0; k < names; ++k) {
    given.push_back(TrimmedSetName(args[3 + k]));
    if (const std::string problem = SetNameProblem(given.back());
        !problem.empty()) {
      usageProblem = problem;
      return 2;
    }
  }

  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  const std::string path = SetsFilePath(file);
  SetsFile sets;
  std::string error;
  if (!ReadSetsFile(path, sets, error))
    return Refuse(err, path, "the scenery sets cannot be read: " + error);

  if (verb == "list") {
    if (sets.sets.empty())
      err << file << ": no scenery sets are saved for this file\n";
    for (const ScenerySet& set : sets.sets)
      out << set.name << "\t" << Summary(set) << "\n";
    return 0;
  }
  const std::string& name = given[0];
  const int index = FindSet(sets.sets, name);
  if (verb == "save") {
    if (index >= 0)
      return Refuse(err, path, "a set named " + Quoted(name) + " exists");
    sets.sets.push_back(SetOfDocument(doc, name));
    if (!Write(path, sets, err)) return 1;
    out << "Saved set " << Quoted(name) << ": " << Summary(sets.sets.back())
        << "\n";
    return 0;
  }
  if (index < 0)
    return Refuse(err, path, "there is no set named " + Quoted(name));
  if (verb == "apply") {
    const bool reordered = doc.AreasSorted;
    const SetPlan plan = PlanSet(doc, sets.sets[index]);
    const int changed = ApplySetChanges(doc, plan.changes);
    if (!SaveForCli(doc, err)) return 1;
    out << SetAppliedText(name, changed, plan.notInSet)
        << (reordered ? ". The areas were first put into numerical order and "
                        "renumbered.\n"
                      : ". The areas were already in numerical order.\n");
    return 0;
  }
  if (verb == "delete") {
    sets.sets.erase(sets.sets.begin() + index);
    if (!Write(path, sets, err)) return 1;
    out << "Deleted set " << Quoted(name) << "\n";
    return 0;
  }
  const std::string& newName = given[1];
  const int other = FindSet(sets.sets, newName);
  if (other >= 0 && other != index)
    return Refuse(err, path, "a set named " + Quoted(newName) + " exists");
  sets.sets[index].name = newName;
  if (!Write(path, sets, err)) return 1;
  out << "Renamed set " << Quoted(name) << " to " << Quoted(newName) << "\n";
  return 0;
}

}  // namespace sceneshifter
