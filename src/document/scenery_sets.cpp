// SPDX-License-Identifier: MIT
#include "scenery_sets.h"

#include "area_matching.h"
#include "code_page.h"
#include "table_operations.h"
#include "text_bytes.h"

namespace sceneshifter {

bool IsActiveArea(const AreaEntry& area) {
  return EqualsNoCase(area.Active, "true");
}

ScenerySet SetOfDocument(const SceneryDocument& doc, std::string name) {
  ScenerySet set{std::move(name), {}};
  set.areas.reserve(doc.AreaCount());
  for (int i = 0; i < doc.AreaCount(); ++i) {
    const AreaIdentity id = IdentityOf(doc.Areas[i]);
    set.areas.push_back({id.folder, id.title, IsActiveArea(doc.Areas[i])});
  }
  return set;
}

SetPlan PlanSet(const SceneryDocument& doc, const ScenerySet& set) {
  std::vector<AreaIdentity> table, known;
  table.reserve(doc.AreaCount());
  for (int i = 0; i < doc.AreaCount(); ++i)
    table.push_back(IdentityOf(doc.Areas[i]));
  known.reserve(set.areas.size());
  for (const SetArea& a : set.areas) known.push_back({a.folder, a.title});
  const std::vector<int> match = MatchAreas(table, known);

  SetPlan plan;
  for (int i = 0; i < doc.AreaCount(); ++i) {
    if (match[i] < 0) {
      ++plan.notInSet;
      continue;
    }
    const bool wanted = set.areas[match[i]].active;
    if (IsActiveArea(doc.Areas[i]) != wanted)
      plan.changes.emplace_back(i, wanted);
  }
  return plan;
}

int ApplySetChanges(SceneryDocument& doc,
                    const std::vector<std::pair<int, bool>>& changes) {
  int changed = 0;
  for (const auto& [slot, active] : changes) {
    if (slot < 0 || slot > doc.LastArea) continue;
    AreaValues values = ValuesOf(doc.Areas[slot]);
    values.Active = active ? "True" : "False";
    if (StoreArea(doc, slot, values).Changed()) ++changed;
  }
  return changed;
}

std::string SetAppliedText(std::string_view name, int changed, int notInSet) {
  return "Set " + std::string(name) + " applied: " + std::to_string(changed) +
         " areas changed, " + std::to_string(notInSet) +
         " not in the set left as they were";
}

std::string TrimmedSetName(std::string_view name) {
  auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
  };
  while (!name.empty() && blank(name.front())) name.remove_prefix(1);
  while (!name.empty() && blank(name.back())) name.remove_suffix(1);
  return std::string(name);
}

std::string SetNameProblem(std::string_view name) {
  const std::string trimmed = TrimmedSetName(name);
  if (trimmed.empty()) return "a set's name must not be empty";
  for (std::string_view rest = trimmed; !rest.empty();) {
    const std::size_t n = Utf8SequenceLength(rest);
    if (n == 0) return "a set's name must be UTF-8 text";
    // One name a line in lists: no line breaks, tabs or other controls.
    const char32_t c = CodePointOf(rest.substr(0, n));
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
      return "a set's name must not hold control characters";
    rest.remove_prefix(n);
  }
  return std::string();
}

int FindSet(const std::vector<ScenerySet>& sets, std::string_view name) {
  for (std::size_t i = 0; i < sets.size(); ++i)
    if (sets[i].name == name) return static_cast<int>(i);
  return -1;
}

}  // namespace sceneshifter
