// SPDX-License-Identifier: MIT
#include "cli_edit.h"

#include <charconv>
#include <map>

#include "cli.h"
#include "code_page.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "table_operations.h"

namespace sceneshifter {
namespace {

// ---- the arguments ----

struct Options {
  std::vector<std::string> positional;  // FILE and the layers
  std::map<std::string, std::string> values;
  std::map<std::string, bool> flags;
  bool Has(const std::string& name) const {
    return values.count(name) || flags.count(name);
  }
};

const char* const kValueOptions[] = {"--title", "--local", "--remote",
                                     "--layer", "--output"};
const char* const kFlagOptions[] = {"--active", "--inactive", "--required",
                                    "--not-required"};

// Splits `args` (after the verb) into FILE, layers and options; false with
// `problem` set on a usage error.
bool ParseOptions(const std::vector<std::string>& args, Options& o,
                  std::string& problem) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() < 2 || a[0] != '-') {
      o.positional.push_back(a);
      continue;
    }
    bool known = false;
    for (const char* name : kValueOptions) {
      if (a != name) continue;
      known = true;
      if (o.Has(a)) return problem = a + " is given twice", false;
      if (i + 1 >= args.size()) return problem = a + " needs a value", false;
      o.values[a] = args[++i];
    }
    for (const char* name : kFlagOptions) {
      if (a != name) continue;
      known = true;
      if (o.Has(a)) return problem = a + " is given twice", false;
      o.flags[a] = true;
    }
    if (!known) return problem = "unexpected argument '" + a + "'", false;
  }
  return true;
}

// The options that `verb` takes; false naming the first other one.
bool OnlyOptions(const Options& o, std::initializer_list<const char*> allowed,
                 const std::string& verb, std::string& problem) {
  auto check = [&](const std::string& name) {
    for (const char* a : allowed)
      if (name == a) return true;
    problem = verb + " takes no " + name;
    return false;
  };
  for (const auto& [name, value] : o.values)
    if (!check(name)) return false;
  for (const auto& [name, value] : o.flags)
    if (!check(name)) return false;
  return true;
}

bool Exclusive(const Options& o, const char* a, const char* b,
               std::string& problem) {
  if (o.Has(a) && o.Has(b)) {
    problem = std::string(a) + " and " + b + " exclude each other";
    return false;
  }
  return true;
}

// A layer argument: a whole number, counted from 1.
bool ParseLayer(const std::string& text, const char* what, int& layer,
                std::string& problem) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, layer);
  if (text.empty() || ec != std::errc() || ptr != end || layer < 0) {
    problem = std::string(what) + " must be a whole number, not '" + text + "'";
    return false;
  }
  return true;
}

// ---- the edit ----

// What a verb is about to do, given the loaded document; an empty `refusal`
// means it is done, and `done` tells what.
struct EditResult {
  std::string refusal;
  std::string done;
};

std::string Quoted(const std::string& fileBytes) {
  return "\"" + Utf8FromBytes(fileBytes) + "\"";
}

std::string LayerText(int slot) { return std::to_string(slot + 1); }

// The text of option `name` in the file's code page; false with the refusal
// set when it cannot be held.
bool TextArgument(const Options& o, const std::string& name, std::string& bytes,
                  std::string& refusal) {
  if (FileBytesFromUtf8(o.values.at(name), bytes)) return true;
  refusal = name + " '" + o.values.at(name) +
            "' has characters that the scenery file's code page (" +
            std::to_string(ActiveCodePage()) + ") cannot hold";
  return false;
}

std::string CannotStore(const std::string& field) {
  return "the " + field + " " + kCannotStoreReason;
}

std::string NoArea(const SceneryDocument& doc, int slot) {
  return MoveRefusalText(MoveRefusal::NoSuchArea, doc, slot, slot);
}

// Moves the area at `slot` to layer `layer` under the rules of Move.
bool MoveToLayer(SceneryDocument& doc, int slot, int layer,
                 std::string& refusal) {
  const MoveRefusal why = CheckMove(doc, slot, layer - 1);
  if (why != MoveRefusal::None) {
    refusal = MoveRefusalText(why, doc, slot, layer - 1);
    return false;
  }
  MoveArea(doc, slot, layer - 1);
  return true;
}

EditResult Add(SceneryDocument& doc, const Options& o) {
  EditResult r;
  AreaValues v;
  const bool local = o.Has("--local");
  if (!TextArgument(o, "--title", v.Title, r.refusal) ||
      !TextArgument(o, local ? "--local" : "--remote", v.PathValue, r.refusal))
    return r;
  v.PathKey = local ? "Local=" : "Remote=";
  v.Active = o.Has("--inactive") ? "False" : "True";
  v.Required = o.Has("--required") ? "True" : "False";
  if (doc.LastArea + 1 >= kAreaSlots) {
    r.refusal = "the table holds 3001 areas already, the most it can";
    return r;
  }
  const TableChange added =
      AppendArea(doc, FormatAreaNumber(doc.LastArea + 2), v);
  int slot = added.from;
  if (const std::string field = AreaStorageProblem(doc.Areas[slot]);
      !field.empty()) {
    r.refusal = CannotStore(field);
    return r;
  }
  if (o.values.count("--layer")) {
    int layer = 0;
    std::string problem;
    ParseLayer(o.values.at("--layer"), "N", layer, problem);
    if (!MoveToLayer(doc, slot, layer, r.refusal)) return r;
    slot = layer - 1;
  }
  r.done = "Added area " + Quoted(v.Title) + " at layer " + LayerText(slot);
  return r;
}

EditResult Delete(SceneryDocument& doc, int slot) {
  EditResult r;
  if (slot < 0 || slot > doc.LastArea) {
    r.refusal = NoArea(doc, slot);
    return r;
  }
  const std::string title = doc.Areas[slot].Title;
  DeleteArea(doc, slot);
  r.done = "Deleted area " + Quoted(title) + " from layer " + LayerText(slot);
  return r;
}

EditResult Move(SceneryDocument& doc, int slot, int layer) {
  EditResult r;
  if (slot < 0 || slot > doc.LastArea) {
    r.refusal = NoArea(doc, slot);
    return r;
  }
  const std::string title = Quoted(doc.Areas[slot].Title);
  if (!MoveToLayer(doc, slot, layer, r.refusal)) return r;
  r.done = slot == layer - 1
               ? "Area " + title + " is at layer " + LayerText(slot) +
                     " already; nothing moved"
               : "Moved area " + title + " from layer " + LayerText(slot) +
                     " to layer " + std::to_string(layer);
  return r;
}

EditResult Set(SceneryDocument& doc, int slot, const Options& o) {
  EditResult r;
  if (slot < 0 || slot > doc.LastArea) {
    r.refusal = NoArea(doc, slot);
    return r;
  }
  AreaValues v = ValuesOf(doc.Areas[slot]);
  std::vector<std::string> fields;
  if (o.Has("--title")) {
    if (!TextArgument(o, "--title", v.Title, r.refusal)) return r;
    fields.push_back("title");
  }
  for (const char* key : {"--local", "--remote"}) {
    if (!o.Has(key)) continue;
    if (!TextArgument(o, key, v.PathValue, r.refusal)) return r;
    v.PathKey = key == std::string("--local") ? "Local=" : "Remote=";
    fields.push_back("folder");
  }
  if (o.Has("--active") || o.Has("--inactive")) {
    v.Active = o.Has("--active") ? "True" : "False";
    fields.push_back("active flag");
  }
  if (o.Has("--required") || o.Has("--not-required")) {
    v.Required = o.Has("--required") ? "True" : "False";
    fields.push_back("required flag");
  }
  if (const std::string field =
          AreaStorageProblem(WithValues(doc.Areas[slot], v));
      !field.empty()) {
    r.refusal = CannotStore(field);
    return r;
  }
  StoreArea(doc, slot, v);
  std::string named;
  for (std::size_t k = 0; k < fields.size(); ++k)
    named += (k == 0                   ? ""
              : k + 1 == fields.size() ? " and "
                                       : ", ") +
             fields[k];
  r.done = "Set the " + named + " of area " + Quoted(v.Title) + " at layer " +
           LayerText(slot);
  return r;
}

}  // namespace

bool FileBytesFromUtf8(const std::string& utf8, std::string& bytes) {
  for (std::string_view rest = utf8; !rest.empty();) {
    const std::size_t n = Utf8SequenceLength(rest);
    if (n == 0) return false;
    rest.remove_prefix(n);
  }
  return BytesFromUtf16(Utf16FromUtf8(utf8), bytes);
}

bool IsEditVerb(const std::string& verb) {
  return verb == "add" || verb == "delete" || verb == "move" || verb == "set";
}

int RunEditVerb(const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err, std::string& usageProblem) {
  const std::string& verb = args.at(0);
  Options o;
  if (!ParseOptions(args, o, usageProblem)) return 2;
  // The positional arguments each verb takes after FILE.
  const std::size_t layers = verb == "add" ? 0 : verb == "move" ? 2 : 1;
  if (o.positional.size() != layers + 1) {
    usageProblem = verb == "add"    ? "add takes one FILE"
                   : verb == "move" ? "move takes FILE LAYER TARGET"
                                    : verb + " takes FILE LAYER";
    return 2;
  }
  bool ok = true;
  if (verb == "add") {
    ok = OnlyOptions(o,
                     {"--title", "--local", "--remote", "--inactive",
                      "--required", "--layer", "--output"},
                     verb, usageProblem) &&
         Exclusive(o, "--local", "--remote", usageProblem);
    if (ok && !o.Has("--title"))
      ok = false, usageProblem = "add needs --title TITLE";
    if (ok && !o.Has("--local") && !o.Has("--remote"))
      ok = false, usageProblem = "add needs --local FOLDER or --remote FOLDER";
    int layer = 0;
    if (ok && o.Has("--layer"))
      ok = ParseLayer(o.values.at("--layer"), "N", layer, usageProblem);
  } else if (verb == "set") {
    ok = OnlyOptions(o,
                     {"--title", "--local", "--remote", "--active",
                      "--inactive", "--required", "--not-required", "--output"},
                     verb, usageProblem) &&
         Exclusive(o, "--local", "--remote", usageProblem) &&
         Exclusive(o, "--active", "--inactive", usageProblem) &&
         Exclusive(o, "--required", "--not-required", usageProblem);
    if (ok && o.values.size() + o.flags.size() ==
                  static_cast<std::size_t>(o.Has("--output")))
      ok = false, usageProblem = "set needs at least one field to change";
  } else {
    ok = OnlyOptions(o, {"--output"}, verb, usageProblem);
  }
  // The editor refuses an empty title or folder.
  for (const char* name : {"--title", "--local", "--remote", "--output"})
    if (ok && o.values.count(name) && o.values.at(name).empty())
      ok = false, usageProblem = std::string(name) + " must not be empty";
  int numbers[2] = {0, 0};
  for (std::size_t k = 0; ok && k < layers; ++k)
    ok = ParseLayer(o.positional[k + 1], k == 0 ? "LAYER" : "TARGET",
                    numbers[k], usageProblem);
  if (!ok) return 2;

  const std::string& file = o.positional[0];
  const std::string output =
      o.values.count("--output") ? o.values.at("--output") : std::string();
  SceneryFileLock lock;
  if (!LockForCli(file, output, lock, err)) return 1;
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  const bool reordered = doc.AreasSorted;
  const int slot = numbers[0] - 1;
  const EditResult r = verb == "add"      ? Add(doc, o)
                       : verb == "delete" ? Delete(doc, slot)
                       : verb == "move"   ? Move(doc, slot, numbers[1])
                                          : Set(doc, slot, o);
  if (!r.refusal.empty()) {
    std::string refusal = r.refusal;
    if (refusal.back() != '.') refusal += '.';
    err << file << ": " << refusal << " Nothing was written.\n";
    return 1;
  }
  if (!output.empty()) doc.ConfigFile = output;
  if (!SaveForCli(doc, out, err, &lock)) return 1;
  ReportStream(doc, out, err)
      << r.done
      << (reordered ? ". The areas were first put into numerical order and "
                      "renumbered.\n"
                    : ". The areas were already in numerical order.\n");
  return 0;
}

}  // namespace sceneshifter
