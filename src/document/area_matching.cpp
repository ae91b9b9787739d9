// SPDX-License-Identifier: MIT
#include "area_matching.h"

#include <unordered_map>

#include "path_helpers.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

std::string TitleMatchKey(std::string_view title) {
  const CaseFolding& folding = ActiveCaseFolding();
  std::string key(title);
  for (char& c : key) c = folding.Fold(c);
  return key;
}

}  // namespace

AreaIdentity IdentityOf(const AreaEntry& area) {
  return {area.PathValue, area.Title};
}

std::string FolderMatchKey(std::string_view folder) {
  const CaseFolding& folding = ActiveCaseFolding();
  std::string key;
  key.reserve(folder.size());
  for (char c : folder) key += IsPathSeparator(c) ? '\\' : folding.Fold(c);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::vector<int> MatchAreas(const std::vector<AreaIdentity>& left,
                            const std::vector<AreaIdentity>& right) {
  // Areas without a folder are grouped under their title, so one pass of
  // "same group, same title; then same group in order" serves both.
  auto groupOf = [](const AreaIdentity& a) {
    std::string folder = FolderMatchKey(a.folder);
    return folder.empty() ? "\n" + TitleMatchKey(a.title) : folder;
  };
  std::unordered_map<std::string, std::vector<int>> rightGroups;
  for (int i = 0; i < static_cast<int>(right.size()); ++i)
    rightGroups[groupOf(right[i])].push_back(i);

  std::vector<int> match(left.size(), -1);
  std::vector<bool> taken(right.size(), false);
  std::vector<std::string> leftGroups(left.size());
  for (std::size_t i = 0; i < left.size(); ++i)
    leftGroups[i] = groupOf(left[i]);

  // First the pairs that agree on the title too, then the rest of each
  // group in order.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < left.size(); ++i) {
      if (match[i] >= 0) continue;
      const auto group = rightGroups.find(leftGroups[i]);
      if (group == rightGroups.end()) continue;
      const std::string title = pass == 0 ? TitleMatchKey(left[i].title) : "";
      for (int r : group->second) {
        if (taken[r]) continue;
        if (pass == 0 && TitleMatchKey(right[r].title) != title) continue;
        match[i] = r;
        taken[r] = true;
        break;
      }
    }
  }
  return match;
}

}  // namespace sceneshifter
