// SPDX-License-Identifier: MIT
#include "cli_locate.h"

#include <nlohmann/json.hpp>

#include "simulator_locate.h"

namespace sceneshifter {

int LocateCommand(const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err, std::string& problem) {
  bool json = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] != "--json" || json) {
      problem = "locate takes only --json";
      return 2;
    }
    json = true;
  }
  const std::vector<SimulatorFile> files =
      LocateSimulatorFiles(HostLocateSources());
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const SimulatorFile& f : files)
      list.push_back({{"path", f.path}, {"how", f.how}});
    out << list.dump(2, ' ', false,
                     nlohmann::ordered_json::error_handler_t::replace)
        << "\n";
  } else {
    for (const SimulatorFile& f : files) out << f.path << '\t' << f.how << '\n';
  }
  if (files.empty()) {
    err << "sceneshifter-cli: no Scenery.cfg of an installed simulator was "
           "found\n";
    return 3;
  }
  return 0;
}

}  // namespace sceneshifter
