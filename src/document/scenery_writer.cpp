#include "scenery_writer.h"

#include <charconv>

#include "text_bytes.h"

namespace sceneshifter {
namespace {

// Counts the bytes of the output, so that it is built in one allocation
// however long its lines are.
struct ByteCounter {
  std::size_t size = 0;
  ByteCounter& append(std::string_view text) {
    size += text.size();
    return *this;
  }
};

template <typename Out>
void Line(Out& out, std::string_view a, std::string_view b = {}) {
  out.append(a).append(b).append("\r\n");
}

template <typename Out>
void WriteDocument(const SceneryDocument& doc, Out& out) {
  for (const std::string& header : doc.HeaderLines) {
    if (ContainsNoCase(header, "[Area")) break;
    Line(out, header);
  }
  char layer[8];
  for (int i = 0; i <= doc.LastArea; ++i) {
    const AreaEntry& e = doc.Areas[i];
    out.append("[Area.").append(e.Number).append("]\r\n");
    Line(out, "Title=", e.Title);
    Line(out, e.PathKey, e.PathValue);
    if (!e.TextureLine.empty()) Line(out, e.TextureLine);
    Line(out, "Active=", e.Active);
    Line(out, "Required=", e.Required);
    const auto end = std::to_chars(layer, layer + sizeof layer, e.Layer).ptr;
    Line(out, "Layer=", std::string_view(layer, end - layer));
    if (!e.Exclude.empty()) Line(out, "Exclude=", e.Exclude);
    for (int k = 0; k < 10; ++k) {
      if (e.Flatten[k].empty()) continue;
      const char key[] = {
          'F', 'l', 'a', 't', 't', 'e', 'n', '.', static_cast<char>('0' + k),
          '='};
      Line(out, std::string_view(key, sizeof key), e.Flatten[k]);
    }
    Line(out, "");
  }
}

// A name beside `path` that is free now.
std::string FreeSiblingName(FileOps& ops, const std::string& path,
                            const std::string& suffix) {
  std::string name = path + suffix;
  for (int n = 1; ops.Exists(name); ++n)
    name = path + suffix + std::to_string(n);
  return name;
}

}  // namespace

std::string WriteSceneryBytes(const SceneryDocument& doc) {
  ByteCounter counter;
  WriteDocument(doc, counter);
  std::string out;
  out.reserve(counter.size);
  WriteDocument(doc, out);
  return out;
}

SaveResult SaveSceneryFile(const std::string& path, const std::string& bytes,
                           FileOps& ops) {
  SaveResult result;
  const std::string temp = FreeSiblingName(ops, path, ".sceneshifter-new");
  if (!ops.WriteNewFile(temp, bytes, result.error)) {
    ops.Remove(temp);
    return result;
  }

  if (ops.Exists(path)) {
    // The old file keeps its own name until the new text replaces it.
    const std::string backup = path + ".bak";
    const std::string staged =
        FreeSiblingName(ops, backup, ".sceneshifter-old");
    std::string why;
    if (!ops.LinkOrCopy(path, staged, why) ||
        !ops.Replace(staged, backup, why)) {
      ops.Remove(staged);
      result.backupWarning = "no backup could be made (" + why + ")";
    }
  }

  if (!ops.Replace(temp, path, result.error)) {
    ops.Remove(temp);
    return result;
  }
  result.ok = true;
  return result;
}

SaveResult SaveDocument(SceneryDocument& doc, FileOps& ops) {
  SaveResult result =
      SaveSceneryFile(doc.ConfigFile, WriteSceneryBytes(doc), ops);
  if (result.ok) doc.FileChanged = false;
  return result;
}

}  // namespace sceneshifter
