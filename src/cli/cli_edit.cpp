// SPDX-License-Identifier: MIT
#include "cli_edit.h"

#include <algorithm>
#include <charconv>

#include "area_health.h"
#include "cli.h"
#include "code_page.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "table_operations.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

// ---- the arguments ----

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

// The verbs that take any number of layers after FILE.
bool TakesLayers(const std::string& verb) {
  return verb == "set" || verb == "activate" || verb == "deactivate";
}

// Checks what `args` give for its verb beyond the options it takes, and
// reads the layers into `slots` (each once, in the order given); false with
// `problem` set on a usage error.
bool CheckArguments(const CliArgs& o, std::vector<int>& slots,
                    std::string& problem) {
  const std::string& verb = o.verb;
  const std::size_t words = o.positional.size();
  bool ok = true;
  if (verb == "add") {
    ok = Exclusive(o, "--local", "--remote", problem);
    if (ok && words != 1) ok = false, problem = "add takes one FILE";
    if (ok && !o.Has("--title"))
      ok = false, problem = "add needs --title TITLE";
    if (ok && !o.Has("--local") && !o.Has("--remote"))
      ok = false, problem = "add needs --local FOLDER or --remote FOLDER";
    int layer = 0;
    if (ok && o.Has("--layer"))
      ok = ParseLayer(o.values.at("--layer"), "N", layer, problem);
  } else if (verb == "delete" && words != 2) {
    ok = false, problem = "delete takes FILE LAYER";
  } else if (verb == "move" && words != 3) {
    ok = false, problem = "move takes FILE LAYER TARGET";
  } else if (verb == "set") {
    ok = Exclusive(o, "--local", "--remote", problem) &&
         Exclusive(o, "--active", "--inactive", problem) &&
         Exclusive(o, "--required", "--not-required", problem);
    if (ok && words < 2) ok = false, problem = "set takes FILE LAYER...";
    if (ok && o.values.size() + o.flags.size() ==
                  static_cast<std::size_t>(o.Has("--output")))
      ok = false, problem = "set needs at least one field to change";
  } else if (verb == "deactivate" && o.Has("--problems")) {
    if (words != 1)
      ok = false, problem = "deactivate --problems takes FILE and no LAYER";
  } else if (TakesLayers(verb) && words < 2) {
    ok = false, problem = verb + " takes FILE LAYER...";
  }
  // The editor refuses an empty title or folder; an empty exclude value is
  // the one the editor stores when its box is cleared.
  for (const char* name : {"--title", "--local", "--remote", "--output"})
    if (ok && o.values.count(name) && o.values.at(name).empty())
      ok = false, problem = std::string(name) + " must not be empty";
  if (!ok) return false;

  if (verb == "add") return true;
  if (verb == "move") {
    int layer = 0, target = 0;
    if (!ParseLayer(o.positional[1], "LAYER", layer, problem) ||
        !ParseLayer(o.positional[2], "TARGET", target, problem))
      return false;
    slots = {layer - 1, target - 1};
    return true;
  }
  for (std::size_t k = 1; k < words; ++k) {
    int layer = 0;
    if (!ParseLayer(o.positional[k], "LAYER", layer, problem)) return false;
    if (std::find(slots.begin(), slots.end(), layer - 1) == slots.end())
      slots.push_back(layer - 1);
  }
  return true;
}

// ---- the edit ----

// What a verb did to the loaded document; a non-empty `refusal` means
// nothing may be written. `unchanged` means there was nothing to do.
struct EditResult {
  std::string refusal;
  std::string done;
  bool unchanged = false;
  std::string localFolder;  // a --local folder to look for, in file bytes
};

std::string Quoted(const std::string& fileBytes) {
  return "\"" + Utf8FromBytes(fileBytes) + "\"";
}

std::string LayerText(int slot) { return std::to_string(slot + 1); }

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t k = 0; k < items.size(); ++k)
    text += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
  return text;
}

// "area "T" at layer 2", or "3 areas, at layers 2, 4 and 5".
std::string AreasNamed(const SceneryDocument& doc,
                       const std::vector<int>& slots) {
  if (slots.size() == 1)
    return "area " + Quoted(doc.Areas[slots[0]].Title) + " at layer " +
           LayerText(slots[0]);
  std::vector<std::string> layers;
  for (const int slot : slots) layers.push_back(LayerText(slot));
  return std::to_string(slots.size()) + " areas, at layers " + Listed(layers);
}

// The text of option `name` in the file's code page; false with the refusal
// set when it cannot be held, or would break its line for other readers.
bool TextArgument(const CliArgs& o, const std::string& name, std::string& bytes,
                  std::string& refusal) {
  std::string converted;
  if (!FileBytesFromUtf8(o.values.at(name), converted)) {
    refusal = name + " '" + o.values.at(name) +
              "' has characters that the scenery file's code page (" +
              std::to_string(ActiveCodePage()) + ") cannot hold";
    return false;
  }
  if (HasControlCharacter(converted)) {
    refusal = name +
              " holds a line break, a tab or another control character, "
              "which a scenery file cannot store";
    return false;
  }
  bytes = std::move(converted);
  return true;
}

std::string CannotStore(const std::string& field) {
  return "the " + field + " " + kCannotStoreReason;
}

std::string NoArea(const SceneryDocument& doc, int slot) {
  return MoveRefusalText(MoveRefusal::NoSuchArea, doc, slot, slot);
}

bool IsArea(const SceneryDocument& doc, int slot) {
  return slot >= 0 && slot <= doc.LastArea;
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

EditResult Add(SceneryDocument& doc, const CliArgs& o) {
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
  if (local) r.localFolder = v.PathValue;
  r.done = "Added area " + Quoted(v.Title) + " at layer " + LayerText(slot);
  return r;
}

EditResult Delete(SceneryDocument& doc, int slot) {
  EditResult r;
  if (!IsArea(doc, slot)) {
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
  if (!IsArea(doc, slot)) {
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

// Stores the fields that `o` names into every area of `slots`, all or none.
EditResult Set(SceneryDocument& doc, const std::vector<int>& slots,
               const CliArgs& o) {
  EditResult r;
  for (const int slot : slots)
    if (!IsArea(doc, slot)) {
      r.refusal = NoArea(doc, slot);
      return r;
    }
  // What the options give, checked once for all the areas.
  std::string title, folder, exclude;
  const char* pathOption = o.Has("--local")    ? "--local"
                           : o.Has("--remote") ? "--remote"
                                               : nullptr;
  std::vector<std::string> fields;
  if (o.Has("--title")) {
    if (!TextArgument(o, "--title", title, r.refusal)) return r;
    fields.push_back("title");
  }
  if (pathOption) {
    if (!TextArgument(o, pathOption, folder, r.refusal)) return r;
    fields.push_back("folder");
  }
  if (o.Has("--active") || o.Has("--inactive")) fields.push_back("active flag");
  if (o.Has("--required") || o.Has("--not-required"))
    fields.push_back("required flag");
  if (o.Has("--exclude")) {
    if (!TextArgument(o, "--exclude", exclude, r.refusal)) return r;
    fields.push_back("exclude value");
  }

  std::vector<AreaValues> values;
  for (const int slot : slots) {
    AreaValues v = ValuesOf(doc.Areas[slot]);
    if (o.Has("--title")) v.Title = title;
    if (pathOption) {
      v.PathKey = pathOption == std::string("--local") ? "Local=" : "Remote=";
      v.PathValue = folder;
    }
    if (o.Has("--active") || o.Has("--inactive"))
      v.Active = o.Has("--active") ? "True" : "False";
    if (o.Has("--required") || o.Has("--not-required"))
      v.Required = o.Has("--required") ? "True" : "False";
    if (o.Has("--exclude")) v.Exclude = exclude;
    if (const std::string field =
            AreaStorageProblem(WithValues(doc.Areas[slot], v));
        !field.empty()) {
      r.refusal = CannotStore(field);
      if (slots.size() > 1)
        r.refusal += " in the area at layer " + LayerText(slot);
      return r;
    }
    values.push_back(std::move(v));
  }
  for (std::size_t k = 0; k < slots.size(); ++k)
    StoreArea(doc, slots[k], values[k]);
  if (o.Has("--local")) r.localFolder = folder;
  r.done = "Set the " + Listed(fields) + " of " + AreasNamed(doc, slots);
  return r;
}

// The active areas that the check finds a problem with, but not those whose
// only problem is a folder that another area uses too: which of those to
// keep is the user's choice.
std::vector<int> ActiveAreasWithProblems(const SceneryDocument& doc) {
  std::vector<int> slots;
  for (const AreaProblem& p :
       CheckAreaHealth(TakeHealthSnapshot(doc)).problems) {
    const int slot = p.layer - 1;
    if (p.code == HealthCode::kDuplicateFolder || !IsArea(doc, slot) ||
        !EqualsNoCase(doc.Areas[slot].Active, "true"))
      continue;
    if (slots.empty() || slots.back() != slot) slots.push_back(slot);
  }
  return slots;
}

EditResult SetActive(SceneryDocument& doc, std::vector<int> slots, bool active,
                     bool problems) {
  EditResult r;
  if (problems) {
    slots = ActiveAreasWithProblems(doc);
    if (slots.empty()) {
      r.unchanged = true;
      r.done =
          "No active area has a problem that switching it off would mend; "
          "nothing was written";
      return r;
    }
  }
  for (const int slot : slots)
    if (!IsArea(doc, slot)) {
      r.refusal = NoArea(doc, slot);
      return r;
    }
  for (const int slot : slots) {
    AreaValues v = ValuesOf(doc.Areas[slot]);
    v.Active = active ? "True" : "False";
    StoreArea(doc, slot, v);
  }
  r.done = (active ? "Activated " : "Deactivated ") + AreasNamed(doc, slots);
  return r;
}

// Where `folder`, a Local= value, leads when it does not exist, found as the
// check finds folders; empty when it exists.
std::string MissingFolder(const SceneryDocument& doc,
                          const std::string& folder) {
  HealthSnapshot snapshot = TakeHealthSnapshot(doc);
  HealthArea area;
  area.PathKey = "Local=";
  area.PathValue = folder;
  area.Active = area.Required = "True";
  snapshot.areas.assign(1, area);
  for (const AreaProblem& p : CheckAreaHealth(snapshot).problems)
    if (p.code == HealthCode::kMissingFolder) return p.detail;
  return {};
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

int RunEditVerb(const CliArgs& o, std::ostream& out, std::ostream& err,
                std::string& usageProblem) {
  std::vector<int> slots;
  if (!CheckArguments(o, slots, usageProblem)) return 2;

  const std::string& file = o.positional[0];
  const std::string output =
      o.values.count("--output") ? o.values.at("--output") : std::string();
  SceneryFileLock lock;
  if (!LockForCli(file, output, lock, err)) return 1;
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  const bool reordered = doc.AreasSorted;
  const std::string& verb = o.verb;
  const EditResult r =
      verb == "add"      ? Add(doc, o)
      : verb == "delete" ? Delete(doc, slots[0])
      : verb == "move"   ? Move(doc, slots[0], slots[1] + 1)
      : verb == "set"
          ? Set(doc, slots, o)
          : SetActive(doc, slots, verb == "activate", o.Has("--problems"));
  if (!r.refusal.empty()) {
    std::string refusal = r.refusal;
    if (refusal.back() != '.') refusal += '.';
    err << file << ": " << refusal << " Nothing was written.\n";
    return 1;
  }
  if (r.unchanged) {
    ReportStream(doc, out, err) << r.done << ".\n";
    return 0;
  }
  if (!output.empty()) doc.ConfigFile = output;
  // A folder that is not there yet may be installed later: saved, but said.
  const std::string missing =
      r.localFolder.empty() ? std::string() : MissingFolder(doc, r.localFolder);
  if (!SaveForCli(doc, out, err, &lock)) return 1;
  if (!missing.empty())
    err << doc.ConfigFile << ": warning: the folder " << missing
        << " does not exist; saved all the same\n";
  ReportStream(doc, out, err)
      << r.done
      << (reordered ? ". The areas were first put into numerical order and "
                      "renumbered.\n"
                    : ". The areas were already in numerical order.\n");
  return 0;
}

}  // namespace sceneshifter
