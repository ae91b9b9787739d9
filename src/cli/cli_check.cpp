// SPDX-License-Identifier: MIT
#include "cli_check.h"

#include <nlohmann/json.hpp>

#include "area_health.h"
#include "cli.h"
#include "code_page.h"
#include "scenery_reader.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

// Keys in the order the documentation gives them.
using Json = nlohmann::ordered_json;

// Every text these commands print from the file passes through here.
std::string Utf8(std::string_view bytes) { return Utf8FromBytes(bytes); }

// A flag as the simulator takes it: true is "true" in any letter case.
bool IsTrue(std::string_view flag) { return EqualsNoCase(flag, "true"); }

// Names that are not UTF-8 (a path given on the command line) are written
// with replacement characters rather than refused.
void Print(std::ostream& out, const Json& json) {
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace

int CheckCommand(const std::string& file, bool json, bool all,
                 std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  HealthReport report = CheckAreaHealth(TakeHealthSnapshot(doc));
  auto active = [&](const AreaProblem& p) {
    return EqualsNoCase(doc.Areas[p.layer - 1].Active, "true");
  };
  std::erase_if(report.problems, [&](const AreaProblem& p) {
    return !ReportsProblem(p, active(p), all);
  });
  if (json) {
    Json problems = Json::array();
    for (const AreaProblem& p : report.problems) {
      const AreaEntry& area = doc.Areas[p.layer - 1];
      Json problem = {
          {"layer", p.layer},          {"number", Utf8(area.Number)},
          {"title", Utf8(area.Title)}, {"code", HealthCodeName(p.code)},
          {"detail", p.detail},        {"active", active(p)}};
      if (p.code == HealthCode::kDuplicateFolder) problem["sameAs"] = p.sameAs;
      problems.push_back(std::move(problem));
    }
    Print(out, {{"file", file},
                {"areas", doc.AreaCount()},
                {"problems", std::move(problems)}});
  } else {
    for (const AreaProblem& p : report.problems) {
      out << p.layer << '\t' << HealthCodeName(p.code) << '\t'
          << TabField(Utf8(doc.Areas[p.layer - 1].Title)) << '\t'
          << TabField(p.detail) << '\n';
    }
  }
  return report.problems.empty() ? 0 : 3;
}

int ListJsonCommand(const std::string& file, std::ostream& out,
                    std::ostream& err) {
  SceneryDocument doc;
  if (!LoadForCli(file, doc, err)) return 1;
  Json areas = Json::array();
  for (int i = 0; i < doc.AreaCount(); ++i) {
    const AreaEntry& a = doc.Areas[i];
    Json flatten = Json::array(), extra = Json::array();
    for (const std::string& f : a.Flatten) flatten.push_back(Utf8(f));
    for (const std::string& line : a.ExtraLines) extra.push_back(Utf8(line));
    std::string key = a.PathKey;
    if (!key.empty() && key.back() == '=') key.pop_back();
    areas.push_back({{"layer", a.Layer},
                     {"number", Utf8(a.Number)},
                     {"title", Utf8(a.Title)},
                     {"pathKey", key},
                     {"path", Utf8(a.PathValue)},
                     {"textureLine", Utf8(a.TextureLine)},
                     {"active", IsTrue(a.Active)},
                     {"activeText", Utf8(a.Active)},
                     {"required", IsTrue(a.Required)},
                     {"requiredText", Utf8(a.Required)},
                     {"exclude", Utf8(a.Exclude)},
                     {"flatten", std::move(flatten)},
                     {"extraLines", std::move(extra)}});
  }
  Print(out, areas);
  return 0;
}

}  // namespace sceneshifter
