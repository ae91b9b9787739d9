// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <string>

namespace sceneshifter::bench {

// A full table of 3001 areas with the usual keys, numbered in reverse of
// their file order or in order.
inline std::string GenerateScenery(bool reversed) {
  std::string text =
      "[General]\r\nTitle=FS2000 World Scenery\r\nDescription=Generated\r\n"
      "Clean_on_Exit=TRUE\r\n\r\n";
  for (int i = 0; i < 3001; ++i) {
    const int n = reversed ? 3001 - i : i + 1;
    const std::string num = std::to_string(n);
    text += "[Area." + std::string(num.size() < 3 ? 3 - num.size() : 0, '0') +
            num + "]\r\nTitle=Generated scenery area " + num +
            "\r\nLocal=Scenery\\Generated\\Area" + num +
            "\r\nActive=True\r\nRequired=False\r\nLayer=" + num + "\r\n";
    if (n % 7 == 0) text += "Exclude=0\r\nFlatten.0=42.5\r\n";
    text += "\r\n";
  }
  return text;
}

}  // namespace sceneshifter::bench
