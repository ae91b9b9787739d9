// SPDX-License-Identifier: MIT
#include "host_environment.h"

#ifdef _WIN32
#include <windows.h>

#include "code_page.h"
#else
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>
#endif

namespace sceneshifter {

std::string EnvironmentValue(const char* name) {
#ifdef _WIN32
  // The wide form: the narrow one would hold the value in the ANSI code
  // page, losing what it lacks.
  std::wstring wideName;
  for (const char* c = name; *c; ++c) wideName += static_cast<wchar_t>(*c);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD n = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  if (n == 0 || n >= size) return {};
  value.resize(n);
  return Utf8FromUtf16(std::u16string(value.begin(), value.end()));
#else
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
#endif
}

std::string HomeFolder() {
#ifdef _WIN32
  return EnvironmentValue("USERPROFILE");
#else
  std::string home = EnvironmentValue("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found && found->pw_dir)
    return found->pw_dir;
  return {};
#endif
}

std::tm LocalTimeOf(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return local;
}

}  // namespace sceneshifter
