// SPDX-License-Identifier: MIT
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "cli.h"
#include "code_page.h"

namespace {

#ifdef _WIN32
// The arguments as Windows holds them, UTF-16, in the core's UTF-8; the
// narrow argv would have them in the ANSI code page, losing what it lacks.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(sceneshifter::Utf8FromUtf16(
        reinterpret_cast<const char16_t*>(argv[i])));
  return args;
}

// A console shows UTF-16 whatever its code page; a pipe or file gets the
// UTF-8 bytes, lines ending in LF as on every host.
void Emit(DWORD stream, FILE* file, const std::string& utf8) {
  if (utf8.empty()) return;
  const HANDLE handle = GetStdHandle(stream);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    const std::u16string text = sceneshifter::Utf16FromUtf8(utf8);
    DWORD written = 0;
    if (WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()),
                      &written, nullptr))
      return;
  }
  _setmode(_fileno(file), _O_BINARY);
  fwrite(utf8.data(), 1, utf8.size(), file);
  fflush(file);
}
#endif

int Run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = sceneshifter::RunCli(args, out, err);
#ifdef _WIN32
  Emit(STD_OUTPUT_HANDLE, stdout, out.str());
  Emit(STD_ERROR_HANDLE, stderr, err.str());
#else
  std::cout << out.str() << std::flush;
  std::cerr << err.str() << std::flush;
#endif
  return status;
}

// Nothing the run throws may end the program without a word.
template <typename Args>
int Guarded(Args&& makeArgs) {
  try {
    return Run(makeArgs());
  } catch (const std::exception& e) {
    std::cerr << "sceneshifter-cli: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "sceneshifter-cli: an unexpected error\n";
  }
  return 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  return Guarded([&] { return Utf8Arguments(argc, argv); });
}
#else
int main(int argc, char** argv) {
  return Guarded(
      [&] { return std::vector<std::string>(argv + 1, argv + argc); });
}
#endif
