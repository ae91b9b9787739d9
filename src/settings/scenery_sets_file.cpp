// SPDX-License-Identifier: MIT
#include "scenery_sets_file.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "code_page.h"

namespace sceneshifter {
namespace {

// Keys in the order written, so that the file reads well by hand.
using Json = nlohmann::ordered_json;

constexpr int kFormatVersion = 1;

// A text of the sets file: `bytes` of the scenery file as UTF-8.
std::string TextOf(const std::string& bytes, int codePage) {
  return Utf8FromBytes(bytes, codePage);
}

// The reading of one sets file: each check fails with the reason.
class SetsReader {
 public:
  bool Read(std::string_view text, std::vector<ScenerySet>& sets) {
    Json json;
    try {
      json = Json::parse(text);
    } catch (const Json::parse_error& e) {
      // The library's message after its "[json.exception...] " tag.
      const std::string what = e.what();
      const std::size_t tag = what.find("] ");
      return Fail("it is not JSON text: " +
                  (tag == std::string::npos ? what : what.substr(tag + 2)));
    }
    if (!json.is_object()) return Fail("it holds no JSON object");
    const Json* version = Member(json, "version");
    if (!version || !version->is_number_unsigned())
      return Fail("it has no \"version\" number");
    if (version->get<std::uint64_t>() != kFormatVersion)
      return Fail("it was written in format version " + version->dump() +
                  " by another version of Sceneshifter; this one reads "
                  "version " +
                  std::to_string(kFormatVersion));
    const Json* codePage = Member(json, "codePage");
    if (!codePage || !codePage->is_number_unsigned() ||
        codePage->get<std::uint64_t>() > 65535)
      return Fail("it has no \"codePage\" number");
    codePage_ = codePage->get<int>();
    const Json* list = Member(json, "sets");
    if (!list || !list->is_array()) return Fail("it has no \"sets\" list");

    std::vector<ScenerySet> read;
    for (const Json& entry : *list) {
      ScenerySet set;
      const Json* name = entry.is_object() ? Member(entry, "name") : nullptr;
      if (!name || !name->is_string())
        return Fail("set " + std::to_string(read.size() + 1) +
                    " has no \"name\" text");
      set.name = TrimmedSetName(name->get<std::string>());
      if (const std::string problem = SetNameProblem(set.name);
          !problem.empty())
        return Fail("set " + std::to_string(read.size() + 1) + ": " + problem);
      if (FindSet(read, set.name) >= 0)
        return Fail("it holds two sets named \"" + set.name + "\"");
      const Json* areas = Member(entry, "areas");
      if (!areas || !areas->is_array())
        return Fail("set \"" + set.name + "\" has no \"areas\" list");
      set.areas.reserve(areas->size());
      for (const Json& area : *areas)
        if (!ReadArea(area, set)) return false;
      read.push_back(std::move(set));
    }
    sets = std::move(read);
    return true;
  }

  std::string error;

 private:
  bool Fail(std::string why) {
    error = std::move(why);
    return false;
  }

  static const Json* Member(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
  }

  bool ReadArea(const Json& area, ScenerySet& set) {
    const std::string which = "area " + std::to_string(set.areas.size() + 1) +
                              " of set \"" + set.name + "\"";
    if (!area.is_object()) return Fail(which + " is not a JSON object");
    SetArea read;
    for (const auto& [key, bytes] :
         {std::pair<const char*, std::string*>{"folder", &read.folder},
          {"title", &read.title}}) {
      const Json* text = Member(area, key);
      if (!text || !text->is_string())
        return Fail(which + " has no \"" + key + "\" text");
      if (!BytesFromUtf16(Utf16FromUtf8(text->get<std::string>()), *bytes,
                          codePage_))
        return Fail("the " + std::string(key) + " of " + which +
                    " has characters that code page " +
                    std::to_string(codePage_) + " cannot hold");
    }
    const Json* active = Member(area, "active");
    if (!active || !active->is_boolean())
      return Fail(which + " has no \"active\" true or false");
    read.active = active->get<bool>();
    set.areas.push_back(std::move(read));
    return true;
  }

  int codePage_ = 0;
};

}  // namespace

std::string SetsFilePath(const std::string& sceneryFile) {
  return sceneryFile + ".sets.json";
}

std::string SetsJson(const std::vector<ScenerySet>& sets) {
  const int codePage = ActiveCodePage();
  Json list = Json::array();
  for (const ScenerySet& set : sets) {
    Json areas = Json::array();
    for (const SetArea& a : set.areas)
      areas.push_back({{"folder", TextOf(a.folder, codePage)},
                       {"title", TextOf(a.title, codePage)},
                       {"active", a.active}});
    list.push_back({{"name", set.name}, {"areas", std::move(areas)}});
  }
  const Json json = {
      {"version", kFormatVersion}, {"codePage", codePage}, {"sets", list}};
  // Every text is UTF-8 already (names are checked, the rest converted from
  // the code page): "replace" only keeps a dump from throwing.
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool SetsFromJson(std::string_view text, std::vector<ScenerySet>& sets,
                  std::string& error) {
  SetsReader reader;
  if (reader.Read(text, sets)) return true;
  error = reader.error;
  return false;
}

bool ReadSetsFile(const std::string& path, SetsFile& file, std::string& error) {
  std::error_code ec;
  if (std::filesystem::status(HostPath(path), ec).type() ==
      std::filesystem::file_type::not_found) {
    file = SetsFile{};
    return true;
  }
  std::string bytes;
  std::vector<ScenerySet> sets;
  if (!ReadWholeFile(path, bytes, error) || !SetsFromJson(bytes, sets, error))
    return false;
  file.sets = std::move(sets);
  file.read = FingerprintOf(path, bytes);
  return true;
}

SaveResult WriteSetsFile(const std::string& path, SetsFile& file,
                         FileOps& ops) {
  const std::string bytes = SetsJson(file.sets);
  SaveResult saved = SaveSceneryFile(path, bytes, ops, &file.read);
  if (saved.ok) file.read = FingerprintOf(path, bytes);
  return saved;
}

}  // namespace sceneshifter
