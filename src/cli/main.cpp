#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // The title list ends its lines in LF on every host.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  return sceneshifter::RunCli(args, std::cout, std::cerr);
}
