// SPDX-License-Identifier: MIT
#include "simulator_locate.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "code_page.h"
#include "file_ops.h"
#include "host_environment.h"
#include "registry.h"

namespace sceneshifter {
namespace fs = std::filesystem;
namespace {

constexpr const char* kVersions[] = {"7.0", "8.0", "9.0"};
constexpr const char* kSceneryName = "scenery.cfg";

// Registry keys and the names of files are compared without the case of
// their (ASCII) letters.
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiFolded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}
bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a quoted text starting just after its opening quote at `pos`, with
// Wine's escapes; leaves `pos` after the closing quote. False when the
// quote is not closed on the line.
bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& out) {
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\' || pos >= line.size()) {
      out += c;
      continue;
    }
    const char e = line[pos++];
    switch (e) {
      case 'a':
        out += '\a';
        break;
      case 'b':
        out += '\b';
        break;
      case 'e':
        out += '\x1b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'v':
        out += '\v';
        break;
      case 'x': {
        char32_t code = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
          code = code * 16 + static_cast<char32_t>(HexDigit(line[pos++]));
          ++digits;
        }
        if (digits == 0)
          out += 'x';
        else
          AppendUtf8(out, code);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          char32_t code = static_cast<char32_t>(e - '0');
          for (int digits = 1; digits < 3 && pos < line.size() &&
                               line[pos] >= '0' && line[pos] <= '7';
               ++digits)
            code = code * 8 + static_cast<char32_t>(line[pos++] - '0');
          AppendUtf8(out, code);
        } else {
          out += e;  // \\ and \" among them
        }
    }
  }
  return false;
}

std::vector<RegistryValue> ValuesOf(
    const std::vector<RegistrySection>& sections, const std::string& key) {
  for (const RegistrySection& section : sections)
    if (SameNoCase(section.key, key)) return section.values;
  return {};
}

// `name` inside `folder` whatever the case of its letters, preferring the
// name as given; empty when there is none.
fs::path ChildNoCase(const fs::path& folder, const std::string& name,
                     bool wantFolder) {
  std::error_code ec;
  auto fits = [&](const fs::path& p) {
    return wantFolder ? fs::is_directory(p, ec) : fs::is_regular_file(p, ec);
  };
  const fs::path exact = folder / HostPath(name);
  if (fits(exact)) return exact;
  std::vector<fs::path> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec))
    if (SameNoCase(Utf8Path(it->path().filename()), name) && fits(it->path()))
      found.push_back(it->path());
  if (found.empty()) return {};
  return *std::min_element(found.begin(), found.end());
}

// Turns the folder a registry value names into the host's folder; empty
// when it names none.
using PathMapping = std::function<fs::path(const std::string& windowsPath)>;

// The candidates that the simulator's keys in `registry` name, each with
// its version.
struct RegistryFind {
  int version;
  fs::path file;
};
std::vector<RegistryFind> RegistryFinds(RegistryReader& registry,
                                        const PathMapping& toHost) {
  std::vector<RegistryFind> finds;
  const std::string base = "Microsoft\\Microsoft Games\\Flight Simulator\\";
  for (int v = 0; v < 3; ++v) {
    const std::pair<RegistryHive, std::string> keys[] = {
        {RegistryHive::LocalMachine, "SOFTWARE\\" + base + kVersions[v]},
        {RegistryHive::LocalMachine,
         "SOFTWARE\\WOW6432Node\\" + base + kVersions[v]},
        {RegistryHive::CurrentUser, "Software\\" + base + kVersions[v]}};
    for (const auto& [hive, key] : keys) {
      std::vector<RegistryValue> values = registry.StringValues(hive, key);
      // "EXE Path" first; the other values only serve a key without it, or
      // whose "EXE Path" holds no scenery file.
      std::stable_partition(values.begin(), values.end(),
                            [](const RegistryValue& value) {
                              return SameNoCase(value.name, "EXE Path");
                            });
      for (const RegistryValue& value : values) {
        fs::path folder = toHost(value.data);
        if (folder.empty()) continue;
        std::error_code ec;
        // A value may name the program rather than its folder.
        if (fs::is_regular_file(folder, ec)) folder = folder.parent_path();
        const fs::path file = ChildNoCase(folder, kSceneryName, false);
        if (file.empty()) continue;
        finds.push_back({v, file});
        break;
      }
    }
  }
  return finds;
}

// A Windows path ("C:\Program Files\...") inside the Wine prefix `prefix`:
// its drive through dosdevices (C: also as drive_c), then each name in any
// letter case.
fs::path WinePath(const fs::path& prefix, std::string windowsPath) {
  while (!windowsPath.empty() &&
         (windowsPath.back() == ' ' || windowsPath.back() == '"'))
    windowsPath.pop_back();
  std::size_t start = 0;
  while (start < windowsPath.size() &&
         (windowsPath[start] == ' ' || windowsPath[start] == '"'))
    ++start;
  windowsPath.erase(0, start);
  if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
  const char drive = AsciiLower(windowsPath[0]);
  if (drive < 'a' || drive > 'z') return {};
  std::error_code ec;
  fs::path current = prefix / "dosdevices" / std::string{drive, ':'};
  // The drive's link read once, so that paths show "drive_c" rather than
  // "dosdevices/c:".
  if (fs::is_symlink(current, ec)) {
    const fs::path target = fs::read_symlink(current, ec);
    if (!ec)
      current = target.is_absolute()
                    ? target
                    : (current.parent_path() / target).lexically_normal();
  }
  if (!fs::is_directory(current, ec)) {
    if (drive != 'c') return {};
    current = prefix / "drive_c";
    if (!fs::is_directory(current, ec)) return {};
  }
  std::size_t pos = 2;
  while (pos < windowsPath.size()) {
    std::size_t end = windowsPath.find_first_of("\\/", pos);
    if (end == std::string::npos) end = windowsPath.size();
    const std::string name = windowsPath.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      current = current.parent_path();
      continue;
    }
    fs::path next = ChildNoCase(current, name, true);
    if (next.empty()) next = ChildNoCase(current, name, false);
    if (next.empty()) return {};
    current = next;
  }
  return current;
}

// Scenery.cfg files at most `depth` names below `folder`, in order of
// their paths.
void SearchFolder(const fs::path& folder, int depth,
                  std::vector<fs::path>& found) {
  std::error_code ec;
  std::vector<std::pair<std::string, fs::directory_entry>> entries;
  for (fs::directory_iterator
           it(folder, fs::directory_options::skip_permission_denied, ec),
       end;
       !ec && it != end; it.increment(ec))
    entries.emplace_back(Utf8Path(it->path().filename()), *it);
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  // The entries' own types, read with the listing: no file is looked at
  // one by one unless it bears the name.
  for (const auto& [name, entry] : entries) {
    if (entry.is_directory(ec)) {
      if (depth > 1) SearchFolder(entry.path(), depth - 1, found);
    } else if (SameNoCase(name, kSceneryName) && entry.is_regular_file(ec)) {
      found.push_back(entry.path());
    }
  }
}

// The simulator's install folders are a few names below Program Files
// (Microsoft Games\FS2000\Scenery.cfg): four levels reach them without
// walking a whole drive.
constexpr int kSearchDepth = 4;

std::vector<fs::path> SearchPrefix(const fs::path& prefix) {
  std::vector<fs::path> found;
  std::error_code ec;
  std::vector<fs::path> roots;
  for (fs::directory_iterator it(prefix / "drive_c", ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = AsciiFolded(Utf8Path(it->path().filename()));
    if (name.rfind("program files", 0) == 0 && fs::is_directory(it->path(), ec))
      roots.push_back(it->path());
  }
  std::sort(roots.begin(), roots.end());
  for (const fs::path& root : roots) SearchFolder(root, kSearchDepth, found);
  return found;
}

std::string ReadIfThere(const fs::path& file) {
  std::string text, error;
  if (!ReadWholeFile(Utf8Path(file), text, error)) text.clear();
  return text;
}

// The Wine prefixes to look in, in order, each once.
std::vector<fs::path> WinePrefixes(const LocateSources& sources) {
  std::vector<fs::path> candidates;
  if (!sources.winePrefix.empty())
    candidates.push_back(HostPath(sources.winePrefix));
  if (!sources.home.empty()) {
    const fs::path home = HostPath(sources.home);
    candidates.push_back(home / ".wine");
    // The folders where Wine's front-ends keep one prefix per program.
    for (const char* parent :
         {".local/share/wineprefixes", ".PlayOnLinux/wineprefix",
          ".local/share/bottles/bottles", "Games"}) {
      std::vector<fs::path> children;
      std::error_code ec;
      for (fs::directory_iterator it(home / parent, ec), end; !ec && it != end;
           it.increment(ec))
        children.push_back(it->path());
      std::sort(children.begin(), children.end());
      candidates.insert(candidates.end(), children.begin(), children.end());
    }
  }
  std::vector<fs::path> prefixes;
  std::set<fs::path> seen;
  for (const fs::path& prefix : candidates) {
    std::error_code ec;
    if (!fs::is_directory(prefix / "drive_c", ec) &&
        !fs::is_regular_file(prefix / "system.reg", ec))
      continue;
    const fs::path canonical = fs::canonical(prefix, ec);
    if (!seen.insert(ec ? prefix : canonical).second) continue;
    prefixes.push_back(prefix);
  }
  return prefixes;
}

// The prefix as the user knows it: the home folder as "~".
std::string ShownPrefix(const fs::path& prefix, std::string home) {
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  const std::string text = Utf8Path(prefix);
  if (!home.empty() && text.size() > home.size() &&
      text.compare(0, home.size(), home) == 0 && text[home.size()] == '/')
    return "~" + text.substr(home.size());
  return text;
}

// Looked for in a key as written, its backslashes doubled.
bool KeepSimulatorKey(std::string_view key) {
  constexpr std::string_view kPart = "microsoft games\\\\flight simulator\\\\";
  for (std::size_t i = 0; i + kPart.size() <= key.size(); ++i)
    if (SameNoCase(key.substr(i, kPart.size()), kPart)) return true;
  return false;
}

}  // namespace

std::vector<RegistrySection> ParseRegistryText(
    std::string_view text,
    const std::function<bool(std::string_view key)>& keep) {
  std::vector<RegistrySection> sections;
  bool keeping = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      // "[Key\\Name] 1234567890": the time after the bracket is Wine's.
      const std::size_t close = line.rfind(']');
      keeping = false;
      if (close == std::string_view::npos || close == 0) continue;
      const std::string_view written = line.substr(1, close - 1);
      if (keep && !keep(written)) continue;
      // The key's escapes are those of a quoted value, closed by a quote.
      std::string raw(written);
      raw += '"';
      std::string key;
      std::size_t pos = 0;
      if (!ReadQuoted(raw, pos, key)) continue;
      keeping = true;
      sections.push_back({std::move(key), {}});
      continue;
    }
    if (!keeping) continue;
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      pos = 1;
      if (!ReadQuoted(line, pos, name)) continue;
    } else {
      continue;  // a comment, or a hex value's continued line
    }
    if (pos + 1 >= line.size() || line[pos] != '=' || line[pos + 1] != '"')
      continue;  // hex:, dword:, str(2): and the like
    pos += 2;
    std::string data;
    if (!ReadQuoted(line, pos, data)) continue;
    sections.back().values.push_back({std::move(name), std::move(data)});
  }
  return sections;
}

WineRegistry::WineRegistry(std::string_view systemText,
                           std::string_view userText)
    : machine_(ParseRegistryText(systemText, KeepSimulatorKey)),
      user_(ParseRegistryText(userText, KeepSimulatorKey)) {}

std::vector<RegistryValue> WineRegistry::StringValues(RegistryHive hive,
                                                      const std::string& key) {
  return ValuesOf(hive == RegistryHive::LocalMachine ? machine_ : user_, key);
}

LocateSources HostLocateSources() {
  LocateSources sources;
  sources.registry = HostRegistry();
#ifndef _WIN32
  sources.home = HomeFolder();
  sources.winePrefix = EnvironmentValue("WINEPREFIX");
#endif
  return sources;
}

std::vector<SimulatorFile> LocateSimulatorFiles(const LocateSources& sources) {
  struct Find {
    int order;  // the version for the registry's finds; after them a search's
    fs::path file;
    std::string how;
  };
  std::vector<Find> finds;
  if (sources.registry) {
    const auto identity = [](const std::string& path) {
      return HostPath(path);
    };
    for (const RegistryFind& find : RegistryFinds(*sources.registry, identity))
      finds.push_back({find.version, find.file,
                       std::string("registry ") + kVersions[find.version]});
  }
  for (const fs::path& prefix : WinePrefixes(sources)) {
    const std::string shown = ShownPrefix(prefix, sources.home);
    WineRegistry registry(ReadIfThere(prefix / "system.reg"),
                          ReadIfThere(prefix / "user.reg"));
    const auto inPrefix = [&](const std::string& path) {
      return WinePath(prefix, path);
    };
    const std::vector<RegistryFind> named = RegistryFinds(registry, inPrefix);
    for (const RegistryFind& find : named)
      finds.push_back({find.version, find.file,
                       std::string("wine registry ") + kVersions[find.version] +
                           " (" + shown + ")"});
    if (!named.empty()) continue;
    for (const fs::path& file : SearchPrefix(prefix))
      finds.push_back({3, file, "wine search (" + shown + ")"});
  }
  std::stable_sort(
      finds.begin(), finds.end(),
      [](const Find& a, const Find& b) { return a.order < b.order; });

  std::vector<SimulatorFile> files;
  std::set<fs::path> seen;
  for (const Find& find : finds) {
    std::error_code ec;
    const fs::path canonical = fs::canonical(find.file, ec);
    if (!seen.insert(ec ? find.file.lexically_normal() : canonical).second)
      continue;
    files.push_back({Utf8Path(find.file), find.how});
  }
  return files;
}

}  // namespace sceneshifter
