// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sceneshifter {

// One [Area.nnn] section of a scenery file. Every text is kept as the
// file's own 8-bit bytes so that a load and a save change nothing that the
// format does not require.
struct AreaEntry {
  std::string Number;
  std::string Title;
  std::string PathKey;  // "Local=", "Remote=" or empty
  std::string Spare;
  std::string PathValue;
  std::string TextureLine;  // the whole line, key included
  std::string Active;
  std::int16_t Layer = 0;
  std::string Required;
  std::string Exclude;
  std::array<std::string, 10> Flatten;
  // The section's other non-blank lines (comments, keys of other tools), in
  // their order, written back after the known ones.
  std::vector<std::string> ExtraLines;

  void Clear() { *this = AreaEntry{}; }
  bool operator==(const AreaEntry&) const = default;
};

}  // namespace sceneshifter
