// SPDX-License-Identifier: MIT
#include "table_difference.h"

#include <algorithm>

#include "area_matching.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

std::vector<AreaIdentity> Identities(const SceneryDocument& doc) {
  std::vector<AreaIdentity> ids;
  ids.reserve(std::max(0, doc.AreaCount()));
  for (int i = 0; i < doc.AreaCount(); ++i)
    ids.push_back(IdentityOf(doc.Areas[i]));
  return ids;
}

// Marks the areas whose order among the matched ones changed: those
// outside a longest run that kept its order (a longest increasing
// subsequence of their later places, taken in their earlier order).
std::vector<bool> MovedAreas(const std::vector<int>& match) {
  std::vector<int> order;  // earlier indexes of the matched areas
  for (int i = 0; i < static_cast<int>(match.size()); ++i)
    if (match[i] >= 0) order.push_back(i);
  // tails[k]: the index into `order` ending the best run of length k + 1.
  std::vector<int> tails, previous(order.size(), -1);
  for (int k = 0; k < static_cast<int>(order.size()); ++k) {
    const int place = match[order[k]];
    const auto at = std::lower_bound(
        tails.begin(), tails.end(), place,
        [&](int t, int value) { return match[order[t]] < value; });
    if (at != tails.begin()) previous[k] = *(at - 1);
    if (at == tails.end())
      tails.push_back(k);
    else
      *at = k;
  }
  std::vector<bool> moved(match.size(), false);
  for (int i : order) moved[i] = true;
  for (int k = tails.empty() ? -1 : tails.back(); k >= 0; k = previous[k])
    moved[order[k]] = false;
  return moved;
}

std::string FolderText(const AreaEntry& a) { return a.PathKey + a.PathValue; }

std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += '\n';
    out += line;
  }
  return out;
}

void CompareFields(const AreaEntry& a, const AreaEntry& b, AreaDifference& d) {
  auto field = [&](const char* name, const std::string& before,
                   const std::string& after) {
    if (before != after) d.fields.push_back({name, before, after});
  };
  field("Title", a.Title, b.Title);
  if (a.PathKey != b.PathKey || a.PathValue != b.PathValue)
    d.fields.push_back({"Folder", FolderText(a), FolderText(b)});
  field("Texture line", a.TextureLine, b.TextureLine);
  const bool onBefore = EqualsNoCase(a.Active, "true");
  const bool onAfter = EqualsNoCase(b.Active, "true");
  if (onBefore != onAfter)
    d.switched =
        onAfter ? AreaDifference::Switch::On : AreaDifference::Switch::Off;
  else
    field("Active", a.Active, b.Active);
  field("Required", a.Required, b.Required);
  field("Exclude", a.Exclude, b.Exclude);
  for (int k = 0; k < 10; ++k)
    if (a.Flatten[k] != b.Flatten[k])
      d.fields.push_back(
          {"Flatten." + std::to_string(k), a.Flatten[k], b.Flatten[k]});
  if (a.ExtraLines != b.ExtraLines)
    d.fields.push_back(
        {"Other lines", JoinedLines(a.ExtraLines), JoinedLines(b.ExtraLines)});
}

}  // namespace

std::vector<AreaDifference> DifferenceOfTables(const SceneryDocument& before,
                                               const SceneryDocument& after) {
  const int countBefore = std::max(0, before.AreaCount());
  const int countAfter = std::max(0, after.AreaCount());
  const std::vector<int> match =
      MatchAreas(Identities(before), Identities(after));
  const std::vector<bool> moved = MovedAreas(match);

  std::vector<int> matchedFrom(countAfter, -1);
  for (int i = 0; i < countBefore; ++i)
    if (match[i] >= 0) matchedFrom[match[i]] = i;
  // A removed area is shown after the later place of the nearest matched
  // area above it (-1: at the top).
  std::vector<std::vector<int>> removedAfter(countAfter + 1);
  int anchor = -1;
  for (int i = 0; i < countBefore; ++i) {
    if (match[i] >= 0)
      anchor = match[i];
    else
      removedAfter[anchor + 1].push_back(i);
  }

  std::vector<AreaDifference> differences;
  auto addRemoved = [&](int slot) {
    for (int i : removedAfter[slot]) {
      AreaDifference d;
      d.kind = AreaDifference::Kind::Removed;
      d.layerBefore = i + 1;
      d.title = before.Areas[i].Title;
      differences.push_back(std::move(d));
    }
  };
  addRemoved(0);
  for (int j = 0; j < countAfter; ++j) {
    AreaDifference d;
    d.layerAfter = j + 1;
    d.title = after.Areas[j].Title;
    const int i = matchedFrom[j];
    if (i < 0) {
      d.kind = AreaDifference::Kind::Added;
    } else {
      d.layerBefore = i + 1;
      d.moved = moved[i];
      CompareFields(before.Areas[i], after.Areas[j], d);
    }
    if (d.kind != AreaDifference::Kind::Kept || d.moved ||
        d.switched != AreaDifference::Switch::None || !d.fields.empty())
      differences.push_back(std::move(d));
    addRemoved(j + 1);
  }
  return differences;
}

}  // namespace sceneshifter
