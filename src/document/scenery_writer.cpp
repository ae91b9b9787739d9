#include "scenery_writer.h"

#include "text_bytes.h"

namespace sceneshifter {
namespace {

void Line(std::string& out, std::string_view a, std::string_view b = {}) {
  out.append(a);
  out.append(b);
  out.append("\r\n");
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
  std::string out;
  out.reserve(static_cast<std::size_t>(doc.AreaCount()) * 160 + 4096);
  for (const std::string& header : doc.HeaderLines) {
    if (ContainsNoCase(header, "[Area")) break;
    Line(out, header);
  }
  for (int i = 0; i <= doc.LastArea; ++i) {
    const AreaEntry& e = doc.Areas[i];
    out.append("[Area.").append(e.Number).append("]\r\n");
    Line(out, "Title=", e.Title);
    Line(out, e.PathKey, e.PathValue);
    if (!e.TextureLine.empty()) Line(out, e.TextureLine);
    Line(out, "Active=", e.Active);
    Line(out, "Required=", e.Required);
    Line(out, "Layer=", std::to_string(e.Layer));
    if (!e.Exclude.empty()) Line(out, "Exclude=", e.Exclude);
    for (int k = 0; k < 10; ++k) {
      if (e.Flatten[k].empty()) continue;
      out.append("Flatten.").append(std::to_string(k)).append("=");
      Line(out, e.Flatten[k]);
    }
    Line(out, "");
  }
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
