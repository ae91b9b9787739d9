// SPDX-License-Identifier: MIT
#include <fstream>
#include <iostream>
#include <string>

#include "scenery_gen.h"

// make_scenery OUT [--ordered]: the 3001-area table, reversed by default.
int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make_scenery OUT [--ordered]\n";
    return 2;
  }
  const bool ordered = argc > 2 && std::string(argv[2]) == "--ordered";
  const std::string text = sceneshifter::bench::GenerateScenery(!ordered);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out ? 0 : 1;
}
