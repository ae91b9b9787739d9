// SPDX-License-Identifier: MIT
#include "scenery_scan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <unordered_set>

#include "code_page.h"
#include "file_ops.h"
#include "scenery_writer.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr bool kWindowsHost = true;
#else
constexpr bool kWindowsHost = false;
#endif

// One folder as the scan reads it.
struct Listing {
  bool readable = false;
  std::vector<std::pair<std::string, fs::path>> folders;  // UTF-8 name, path
  int bglFiles = 0;
};

Listing List(const fs::path& folder) {
  Listing l;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    const bool isFolder = it->is_directory(typeError);
    std::string name = Utf8Path(it->path().filename());
    if (isFolder)
      l.folders.emplace_back(std::move(name), it->path());
    else if (EndsWithBgl(name))
      ++l.bglFiles;
  }
  l.readable = !ec;
  if (!l.readable) l = Listing{};
  return l;
}

// One key for every path that leads to the same folder: links resolved,
// and on a host whose names ignore case, letters folded.
// `direct` tells whether `path` passes no link.
std::string Identity(const fs::path& path, bool& direct) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  if (ec) real = path.lexically_normal();
  std::string key = Utf8Path(real);
  std::string plain = Utf8Path(path.lexically_normal());
  if (kWindowsHost) {
    key = FoldName(key);
    plain = FoldName(plain);
  }
  direct = key == plain;
  return key;
}

// The names of `path` below `base`, or false when it does not lie there.
bool NamesBelow(const fs::path& base, const fs::path& path,
                std::vector<std::string>& names) {
  auto b = base.begin();
  auto p = path.begin();
  for (; b != base.end() && !b->empty(); ++b, ++p) {
    if (p == path.end()) return false;
    const std::string x = Utf8Path(*b), y = Utf8Path(*p);
    if (kWindowsHost ? FoldName(x) != FoldName(y) : x != y) return false;
  }
  for (; p != path.end(); ++p)
    if (!p->empty()) names.push_back(Utf8Path(*p));
  return true;
}

// `utf8` in the file's code page; false when it is not UTF-8 or has a
// character that the code page cannot hold.
bool FileBytes(const std::string& utf8, std::string& bytes) {
  for (std::string_view rest = utf8; !rest.empty();) {
    const std::size_t n = Utf8SequenceLength(rest);
    if (n == 0) return false;
    rest.remove_prefix(n);
  }
  return BytesFromUtf16(Utf16FromUtf8(utf8), bytes);
}

struct Found {
  std::string written;  // UTF-8, as Local= would hold it
  std::string title;    // UTF-8
  fs::path path;
  int bglFiles = 0;
  std::string folded;  // `written` without case, for the order
  std::size_t names = 0;
  std::string identity;
  bool direct = false;
};

class Scanner {
 public:
  Scanner(const std::atomic<bool>* cancel, std::atomic<int>* progress)
      : cancel_(cancel), progress_(progress) {}

  // Walks `folder`, whose written form starts with `prefix` (names, empty
  // for the scenery file's folder) or, when `absolute`, is its full path.
  void Walk(const fs::path& folder, int depth, const Listing* read);

  std::vector<std::string> prefix;
  bool absolute = false;
  bool offerRoot = false;
  std::vector<Found> found;
  int reads = 0;
  bool cancelled = false;

 private:
  Listing Read(const fs::path& folder) {
    ++reads;
    if (progress_) progress_->fetch_add(1, std::memory_order_relaxed);
    return List(folder);
  }
  void Offer(const fs::path& folder, int bglFiles);

  const std::atomic<bool>* cancel_;
  std::atomic<int>* progress_;
  std::vector<std::string> names_;  // below the scanned folder
};

void Scanner::Offer(const fs::path& folder, int bglFiles) {
  Found f;
  f.path = folder;
  f.bglFiles = bglFiles;
  if (absolute) {
    fs::path shown = folder;
    f.written = Utf8Path(shown.make_preferred());
  } else {
    for (const std::vector<std::string>* part : {&prefix, &names_})
      for (const std::string& name : *part) {
        if (!f.written.empty()) f.written += '\\';
        f.written += name;
      }
  }
  f.title = Utf8Path(folder.filename());
  if (f.written.empty() || f.title.empty()) return;
  f.folded = FoldName(f.written);
  f.names = names_.size();
  found.push_back(std::move(f));
}

void Scanner::Walk(const fs::path& folder, int depth, const Listing* read) {
  if (cancel_ && cancel_->load(std::memory_order_relaxed)) {
    cancelled = true;
    return;
  }
  const Listing own = read ? Listing{} : Read(folder);
  const Listing& l = read ? *read : own;
  if (!l.readable) return;

  // The scenery subfolder as the health check picks it: the exact spelling
  // first, else the first of its spellings.
  std::size_t scenery = l.folders.size();
  for (std::size_t i = 0; i < l.folders.size(); ++i) {
    const std::string& name = l.folders[i].first;
    if (FoldName(name) != "scenery") continue;
    if (scenery == l.folders.size() || name == "scenery" ||
        (l.folders[scenery].first != "scenery" &&
         name < l.folders[scenery].first))
      scenery = i;
  }
  Listing sceneryListing;
  const bool candidate = depth > 0 || offerRoot;
  if (candidate && scenery < l.folders.size()) {
    sceneryListing = Read(l.folders[scenery].second);
    if (sceneryListing.bglFiles > 0) Offer(folder, sceneryListing.bglFiles);
  }
  if (depth >= kScanDepth) return;
  for (std::size_t i = 0; i < l.folders.size() && !cancelled; ++i) {
    names_.push_back(l.folders[i].first);
    const bool reread = i == scenery && candidate;
    Walk(l.folders[i].second, depth + 1, reread ? &sceneryListing : nullptr);
    names_.pop_back();
  }
}

}  // namespace

FolderScan ScanNewFolders(const HealthSnapshot& snapshot,
                          const std::string& folder,
                          const std::atomic<bool>* cancel,
                          std::atomic<int>* progress) {
  FolderScan scan;
  std::error_code ec;
  fs::path base = HostPath(snapshot.baseFolder);
  if (const fs::path c = fs::weakly_canonical(base, ec); !ec && !c.empty())
    base = c;
  fs::path root = folder.empty() ? base : HostPath(folder);
  if (const fs::path c = fs::weakly_canonical(root, ec); !ec && !c.empty())
    root = c;
  if (!root.has_filename() && root.has_relative_path())
    root = root.parent_path();  // a trailing separator

  Scanner scanner(cancel, progress);
  scanner.absolute = !NamesBelow(base, root, scanner.prefix);
  scanner.offerRoot = scanner.absolute || !scanner.prefix.empty();
  scanner.Walk(root, 0, nullptr);
  scan.foldersRead = scanner.reads;
  if (scanner.cancelled) {
    scan.cancelled = true;
    return scan;
  }

  std::unordered_set<std::string> known;
  bool unused = false;
  for (const std::string& path : AreaFolderPaths(snapshot))
    if (!path.empty()) known.insert(Identity(HostPath(path), unused));

  // A folder reached more than once (through links) is offered once, by
  // the way that passes no link, else by the shortest.
  std::vector<Found>& found = scanner.found;
  for (Found& f : found) f.identity = Identity(f.path, f.direct);
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return std::tie(a.identity, b.direct, a.names, a.folded, a.written) <
           std::tie(b.identity, a.direct, b.names, b.folded, b.written);
  });
  found.erase(std::unique(found.begin(), found.end(),
                          [](const Found& a, const Found& b) {
                            return a.identity == b.identity;
                          }),
              found.end());
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.written < b.written;
  });
  for (Found& f : found) {
    if (known.count(f.identity)) continue;
    NewFolder n;
    n.hostPath = Utf8Path(f.path);
    n.bglFiles = f.bglFiles;
    if (!FileBytes(f.title, n.Title) || !FileBytes(f.written, n.PathValue)) {
      scan.notes.push_back(f.written +
                           ": its name has characters that the scenery "
                           "file's code page (" +
                           std::to_string(ActiveCodePage()) + ") cannot hold");
      continue;
    }
    if (!AreaStorageProblem(WithValues(AreaEntry{}, NewAreaValues(n)))
             .empty()) {
      scan.notes.push_back(f.written + ": its name " + kCannotStoreReason);
      continue;
    }
    scan.folders.push_back(std::move(n));
  }
  return scan;
}

int LayerLeadingTo(const HealthSnapshot& snapshot, const std::string& folder) {
  bool direct = false;
  const std::string wanted = Identity(HostPath(folder), direct);
  const std::vector<std::string> paths = AreaFolderPaths(snapshot);
  for (std::size_t i = 0; i < paths.size(); ++i)
    if (!paths[i].empty() && Identity(HostPath(paths[i]), direct) == wanted)
      return snapshot.areas[i].Layer;
  return 0;
}

AreaValues NewAreaValues(const NewFolder& folder) {
  AreaValues v;
  v.Title = folder.Title;
  v.PathKey = "Local=";
  v.PathValue = folder.PathValue;
  v.Active = "True";
  v.Required = "False";
  return v;
}

bool AppendNewFolders(SceneryDocument& doc,
                      const std::vector<NewFolder>& folders,
                      std::vector<TableChange>* changes) {
  if (static_cast<std::size_t>(doc.AreaCount()) + folders.size() >
      static_cast<std::size_t>(kAreaSlots))
    return false;
  for (const NewFolder& f : folders) {
    TableChange c =
        AppendArea(doc, FormatAreaNumber(doc.LastArea + 2), NewAreaValues(f));
    if (changes) changes->push_back(std::move(c));
  }
  return true;
}

std::string TableFullText(const SceneryDocument& doc, std::size_t count) {
  const int room = std::max(0, kAreaSlots - doc.AreaCount());
  return "The list holds " + std::to_string(doc.AreaCount()) +
         " areas; it has room for " + std::to_string(room) + " more, not " +
         std::to_string(count) + ". Nothing was added.";
}

}  // namespace sceneshifter
