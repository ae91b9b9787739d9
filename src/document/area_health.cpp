// SPDX-License-Identifier: MIT
#include "area_health.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "code_page.h"
#include "file_ops.h"
#include "path_helpers.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr bool kWindowsHost = true;
#else
constexpr bool kWindowsHost = false;
#endif

std::vector<std::string> SplitNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || IsPathSeparator(text[i])) {
      if (i > start) names.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return names;
}

std::string Joined(const std::vector<int>& layers) {
  std::string text;
  for (const int layer : layers) {
    if (!text.empty()) text += ", ";
    text += std::to_string(layer);
  }
  return text;
}

// One folder's entries, read once per check.
struct Listing {
  static constexpr std::uint32_t kAmbiguous = UINT32_MAX;
  struct Entry {
    std::string name;
    std::string folded;
    bool folder = false;
  };
  bool readable = false;
  std::string error;
  std::vector<Entry> entries;
  // By folded name, for the large folders that hold many areas' folders.
  std::unordered_map<std::string, std::uint32_t> byFolded;

  // The entry called `name` in any letter case, the exact spelling first;
  // nullptr when there is none.
  const Entry* Find(const std::string& name) const {
    const std::string folded = FoldName(name);
    if (!byFolded.empty()) {
      const auto it = byFolded.find(folded);
      if (it == byFolded.end()) return nullptr;
      if (it->second != kAmbiguous) return &entries[it->second];
    }
    const Entry* best = nullptr;
    for (const Entry& e : entries) {
      if (e.name == name) return &e;
      if (e.folded == folded && (!best || e.name < best->name)) best = &e;
    }
    return best;
  }
};

// Where an area's folder text leads on this host.
struct Resolved {
  bool found = false;
  fs::path path;      // when found: the folder, spelled as on disk
  std::string key;    // the same for every text that leads to one folder
  std::string shown;  // where the folder was looked for, for people
};

class Checker {
 public:
  explicit Checker(const HealthSnapshot& s) : snapshot_(s) {
    std::error_code ec;
    base_ = HostPath(s.baseFolder);
    const fs::path canonical = fs::weakly_canonical(base_, ec);
    if (!ec && !canonical.empty()) base_ = canonical;
  }

  HealthReport Run(const std::atomic<bool>* cancel);
  std::string Locate(const HealthArea& area);

 private:
  static std::string Utf8(std::string_view bytes) {
    return Utf8FromBytes(bytes);
  }
  const Listing& List(const fs::path& folder);
  // 1 when `folder` holds a .bgl file, 0 when not, -1 when it cannot be
  // read (the reason in `error`).
  int HoldsBgl(const fs::path& folder, std::string& error);
  std::optional<fs::path> WinePrefix();
  std::optional<fs::path> DriveRoot(char letter);
  // The root of the drive that holds the scenery file, where it is known.
  std::optional<fs::path> BaseDriveRoot();
  Resolved Resolve(const std::string& text);
  void CheckFolder(const Resolved& where, int area);
  void Add(int area, HealthCode code, std::string detail) {
    problems_.push_back(
        {area, {snapshot_.areas[area].Layer, code, std::move(detail)}});
  }

  const HealthSnapshot& snapshot_;
  fs::path base_;
  std::unordered_map<fs::path::string_type, Listing> listings_;
  std::unordered_map<fs::path::string_type, std::pair<int, std::string>> bgl_;
  std::optional<std::optional<fs::path>> winePrefix_;
  std::map<char, std::optional<fs::path>> drives_;
  std::vector<std::pair<int, AreaProblem>> problems_;
  int reads_ = 0;
};

const Listing& Checker::List(const fs::path& folder) {
  const auto [it, added] = listings_.try_emplace(folder.native());
  Listing& l = it->second;
  if (!added) return l;
  ++reads_;
  std::error_code ec;
  fs::directory_iterator entries(folder, ec);
  for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
    std::error_code typeError;
    const bool isFolder = entries->is_directory(typeError);
    std::string name = Utf8Path(entries->path().filename());
    std::string folded = FoldName(name);
    l.entries.push_back({std::move(name), std::move(folded), isFolder});
  }
  if (ec) {
    l.error = ec.message();
    l.entries.clear();
    return l;
  }
  l.readable = true;
  if (l.entries.size() > 8) {
    l.byFolded.reserve(l.entries.size());
    for (std::uint32_t i = 0; i < l.entries.size(); ++i) {
      const auto [slot, fresh] = l.byFolded.try_emplace(l.entries[i].folded, i);
      if (!fresh) slot->second = Listing::kAmbiguous;
    }
  }
  return l;
}

int Checker::HoldsBgl(const fs::path& folder, std::string& error) {
  const auto [it, added] = bgl_.try_emplace(folder.native(), 0, "");
  if (added) {
    ++reads_;
    std::error_code ec;
    fs::directory_iterator entries(folder, ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
      if (!EndsWithBgl(Utf8Path(entries->path().filename()))) continue;
      std::error_code typeError;
      if (!entries->is_directory(typeError)) {
        it->second.first = 1;
        break;
      }
    }
    if (ec) it->second = {-1, ec.message()};
  }
  error = it->second.second;
  return it->second.first;
}

// A Wine installation keeps its drives as links in "dosdevices", beside the
// drive_c folder that holds the simulator.
std::optional<fs::path> Checker::WinePrefix() {
  if (winePrefix_) return *winePrefix_;
  std::optional<fs::path> found;
  for (fs::path p = base_; !p.empty(); p = p.parent_path()) {
    const Listing::Entry* e = List(p).Find("dosdevices");
    if (e && e->folder) {
      found = p / HostPath(e->name);
      break;
    }
    if (p == p.parent_path()) break;
  }
  winePrefix_ = found;
  return found;
}

std::optional<fs::path> Checker::DriveRoot(char letter) {
  const auto known = drives_.find(letter);
  if (known != drives_.end()) return known->second;
  std::optional<fs::path> root;
  if (kWindowsHost) {
    root = HostPath(std::string(1, letter) + ":\\");
  } else if (const auto prefix = WinePrefix()) {
    const std::string name(1, static_cast<char>(letter + ('a' - 'A')));
    const Listing::Entry* e = List(*prefix).Find(name + ":");
    if (e && e->folder) {
      std::error_code ec;
      const fs::path link = *prefix / HostPath(e->name);
      const fs::path target = fs::weakly_canonical(link, ec);
      root = ec || target.empty() ? link : target;
    }
  }
  drives_[letter] = root;
  return root;
}

std::optional<fs::path> Checker::BaseDriveRoot() {
  if (kWindowsHost) return base_.root_path();
  const auto prefix = WinePrefix();
  if (!prefix) return std::nullopt;
  for (const Listing::Entry& e : List(*prefix).entries) {
    const char letter =
        static_cast<char>(e.name.empty() ? 0 : e.name[0] & ~0x20);
    if (e.name.size() != 2 || e.name[1] != ':' || letter < 'A' || letter > 'Z')
      continue;
    const auto root = DriveRoot(letter);
    if (root &&
        std::mismatch(root->begin(), root->end(), base_.begin(), base_.end())
                .first == root->end())
      return root;
  }
  return std::nullopt;
}

Resolved Checker::Resolve(const std::string& text) {
  Resolved r;
  const auto unreachable = [&](const char* why) {
    r.key = FoldName(text);
    r.shown = text + " (" + why + ")";
    return r;
  };
  fs::path cur;
  std::vector<std::string> names;
  std::size_t depth = 0;  // how many names ".." may still take off
  const bool drive = text.size() >= 2 && text[1] == ':' &&
                     ((text[0] >= 'A' && text[0] <= 'Z') ||
                      (text[0] >= 'a' && text[0] <= 'z'));
  const bool unc = text.size() >= 2 && text[0] == '\\' &&
                   (text[1] == '\\' || (kWindowsHost && text[1] == '/'));
  if (drive) {
    const char letter = static_cast<char>(text[0] & ~0x20);
    const auto root = DriveRoot(letter);
    if (!root) return unreachable("no such drive on this host");
    cur = *root;
    names = SplitNames(std::string_view(text).substr(2));
  } else if (unc) {
    names = SplitNames(text);
    if (names.size() < 2) return unreachable("not a network share");
    if (kWindowsHost) {
      cur = HostPath("\\\\" + FoldName(names[0]) + "\\" + FoldName(names[1]) +
                     "\\");
      names.erase(names.begin(), names.begin() + 2);
    } else {
      const auto prefix = WinePrefix();
      if (!prefix) return unreachable("no network share on this host");
      cur = *prefix;
      names.insert(names.begin(), "unc");
    }
  } else if (!text.empty() && text[0] == '/' && !kWindowsHost) {
    cur = "/";
    names = SplitNames(text);
  } else {
    // From the root of the scenery file's drive, or from its folder.
    const auto driveRoot = !text.empty() && IsPathSeparator(text[0])
                               ? BaseDriveRoot()
                               : std::nullopt;
    cur = driveRoot ? *driveRoot : base_;
    names = SplitNames(text);
    if (!driveRoot)
      depth = static_cast<std::size_t>(std::distance(
          base_.relative_path().begin(), base_.relative_path().end()));
  }

  std::size_t i = 0;
  for (; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name == ".") continue;
    if (name == "..") {
      if (depth > 0) {
        cur = cur.parent_path();
        --depth;
      }
      continue;
    }
    const Listing& l = List(cur);
    if (l.readable) {
      const Listing::Entry* e = l.Find(name);
      if (!e || !e->folder) break;
      cur /= HostPath(e->name);
    } else {
      // A folder that may be passed but not read: only the exact name.
      std::error_code ec;
      const fs::path next = cur / HostPath(name);
      if (!fs::is_directory(next, ec)) break;
      cur = next;
    }
    ++depth;
  }
  r.found = i == names.size();
  r.key = Utf8Path(cur);
  fs::path shown = cur;
  for (std::size_t k = i; k < names.size(); ++k) {
    r.key += '/';
    r.key += FoldName(names[k]);
    shown /= HostPath(names[k]);
  }
  r.path = cur;
  r.shown = Utf8Path(shown.make_preferred());
  return r;
}

void Checker::CheckFolder(const Resolved& where, int area) {
  if (!where.found) {
    Add(area, HealthCode::kMissingFolder, where.shown);
    return;
  }
  const Listing& l = List(where.path);
  if (!l.readable) {
    Add(area, HealthCode::kNoScenerySubfolder,
        where.shown + " (cannot be read: " + l.error + ")");
    return;
  }
  const Listing::Entry* scenery = l.Find("scenery");
  if (!scenery || !scenery->folder) {
    Add(area, HealthCode::kNoScenerySubfolder, where.shown);
    return;
  }
  fs::path sub = where.path / HostPath(scenery->name);
  std::string error;
  const int bgl = HoldsBgl(sub, error);
  if (bgl == 1) return;
  std::string shown = Utf8Path(sub.make_preferred());
  if (bgl < 0) shown += " (cannot be read: " + error + ")";
  Add(area, HealthCode::kNoBglFiles, std::move(shown));
}

HealthReport Checker::Run(const std::atomic<bool>* cancel) {
  HealthReport report;
  const auto& areas = snapshot_.areas;
  // Areas by the folder they lead to, for duplicates.
  std::unordered_map<std::string, std::vector<int>> byFolder;
  for (int a = 0; a < static_cast<int>(areas.size()); ++a) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      report.cancelled = true;
      return report;
    }
    const HealthArea& area = areas[a];
    if (area.PathKey.empty() || area.PathValue.empty()) {
      Add(a, HealthCode::kNoFolder, std::string());
    } else {
      Resolved where;
      try {
        where = Resolve(Utf8(area.PathValue));
      } catch (const std::exception& e) {
        // A name the host cannot spell.
        where.key = FoldName(Utf8(area.PathValue));
        where.shown = Utf8(area.PathValue) + " (" + e.what() + ")";
      }
      CheckFolder(where, a);
      byFolder[where.key].push_back(a);
    }
    for (const auto& [key, value] :
         {std::pair<const char*, const std::string&>{"Active=", area.Active},
          {"Required=", area.Required}}) {
      if (!EqualsNoCase(value, "true") && !EqualsNoCase(value, "false"))
        Add(a, HealthCode::kOddFlag, key + Utf8(value));
    }
  }
  for (const auto& [key, members] : byFolder) {
    if (members.size() < 2) continue;
    for (const int a : members) {
      std::vector<int> others;
      for (const int b : members)
        if (b != a) others.push_back(areas[b].Layer);
      Add(a, HealthCode::kDuplicateFolder,
          (others.size() == 1 ? "same folder as layer "
                              : "same folder as layers ") +
              Joined(others));
      problems_.back().second.sameAs.assign(others.begin(), others.end());
    }
  }
  std::stable_sort(problems_.begin(), problems_.end(),
                   [](const auto& x, const auto& y) {
                     return x.first != y.first ? x.first < y.first
                                               : x.second.code < y.second.code;
                   });
  report.problems.reserve(problems_.size());
  for (auto& p : problems_) report.problems.push_back(std::move(p.second));
  report.foldersRead = reads_;
  return report;
}

std::string Checker::Locate(const HealthArea& area) {
  if (area.PathKey.empty() || area.PathValue.empty()) return std::string();
  try {
    const Resolved where = Resolve(Utf8(area.PathValue));
    return where.found ? Utf8Path(where.path) : std::string();
  } catch (const std::exception&) {
    return std::string();  // a name the host cannot spell
  }
}

}  // namespace

const char* HealthCodeName(HealthCode code) {
  switch (code) {
    case HealthCode::kNoFolder:
      return "no-folder";
    case HealthCode::kMissingFolder:
      return "missing-folder";
    case HealthCode::kNoScenerySubfolder:
      return "no-scenery-subfolder";
    case HealthCode::kNoBglFiles:
      return "no-bgl-files";
    case HealthCode::kDuplicateFolder:
      return "duplicate-folder";
    case HealthCode::kOddFlag:
      return "odd-flag";
  }
  return "";
}

const char* HealthCodeWords(HealthCode code) {
  switch (code) {
    case HealthCode::kNoFolder:
      return "No folder given";
    case HealthCode::kMissingFolder:
      return "Folder not found";
    case HealthCode::kNoScenerySubfolder:
      return "No scenery subfolder";
    case HealthCode::kNoBglFiles:
      return "No .bgl files in the scenery subfolder";
    case HealthCode::kDuplicateFolder:
      return "Duplicate folder";
    case HealthCode::kOddFlag:
      return "Flag neither true nor false";
  }
  return "";
}

bool ReportsProblem(const AreaProblem& problem, bool active,
                    bool includeInactive) {
  return active || includeInactive || problem.code == HealthCode::kOddFlag;
}

HealthArea HealthAreaOf(const AreaEntry& area) {
  return {area.Layer, area.PathKey, area.PathValue, area.Active, area.Required};
}

bool SameHealthInputs(const AreaEntry& area, const HealthArea& checked) {
  return area.Layer == checked.Layer && area.PathKey == checked.PathKey &&
         area.PathValue == checked.PathValue && area.Active == checked.Active &&
         area.Required == checked.Required;
}

HealthSnapshot TakeHealthSnapshot(const SceneryDocument& doc) {
  HealthSnapshot s;
  std::error_code ec;
  const fs::path folder = HostPath(doc.ConfigFile).parent_path();
  const fs::path absolute =
      folder.empty() ? fs::current_path(ec) : fs::absolute(folder, ec);
  s.baseFolder = Utf8Path(ec ? folder : absolute.lexically_normal());
  s.areas.reserve(static_cast<std::size_t>(std::max(0, doc.AreaCount())));
  for (int i = 0; i < doc.AreaCount(); ++i)
    s.areas.push_back(HealthAreaOf(doc.Areas[i]));
  return s;
}

HealthReport CheckAreaHealth(const HealthSnapshot& snapshot,
                             const std::atomic<bool>* cancel) {
  return Checker(snapshot).Run(cancel);
}

std::vector<std::string> AreaFolderPaths(const HealthSnapshot& snapshot) {
  Checker checker(snapshot);
  std::vector<std::string> paths;
  paths.reserve(snapshot.areas.size());
  for (const HealthArea& area : snapshot.areas)
    paths.push_back(checker.Locate(area));
  return paths;
}

bool EndsWithBgl(std::string_view name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".bgl");
}

std::string FoldName(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t n = Utf8SequenceLength(utf8);
    if (n == 0) {
      out += utf8[0];  // a byte of a name that is not UTF-8 stays
      utf8.remove_prefix(1);
      continue;
    }
    const char32_t c = CodePointOf(utf8.substr(0, n));
    AppendUtf8(out, c <= 0xFFFF ? LowercaseOf(static_cast<char16_t>(c)) : c);
    utf8.remove_prefix(n);
  }
  return out;
}

}  // namespace sceneshifter
