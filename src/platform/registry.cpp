// SPDX-License-Identifier: MIT
#include "registry.h"

#ifdef _WIN32
#include <windows.h>

#include "code_page.h"
#endif

namespace sceneshifter {

#ifdef _WIN32
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string text = Utf16FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

std::string Narrow(const wchar_t* text, std::size_t size) {
  return Utf8FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(text), size));
}

class WindowsRegistry : public RegistryReader {
 public:
  std::vector<RegistryValue> StringValues(RegistryHive hive,
                                          const std::string& key) override {
    std::vector<RegistryValue> values;
    HKEY root = hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE
                                                   : HKEY_CURRENT_USER;
    HKEY handle = nullptr;
    // The 64-bit view, so that a key named with WOW6432Node reaches the
    // 32-bit installers' keys and one without it the native keys, whatever
    // this program's own width.
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      &handle) != ERROR_SUCCESS)
      return values;
    for (DWORD index = 0;; ++index) {
      std::wstring name(16384, L'\0');
      DWORD nameSize = static_cast<DWORD>(name.size());
      DWORD type = 0;
      const LONG status = RegEnumValueW(handle, index, name.data(), &nameSize,
                                        nullptr, &type, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) continue;
      if (type != REG_SZ) continue;
      name.resize(nameSize);
      DWORD dataSize = 0;
      if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr,
                           &dataSize) != ERROR_SUCCESS ||
          type != REG_SZ)
        continue;
      std::wstring data(dataSize / sizeof(wchar_t) + 1, L'\0');
      dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t));
      if (RegQueryValueExW(handle, name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()),
                           &dataSize) != ERROR_SUCCESS)
        continue;
      // The stored text need not end in a null.
      data.resize(dataSize / sizeof(wchar_t));
      while (!data.empty() && data.back() == L'\0') data.pop_back();
      values.push_back(
          {Narrow(name.data(), name.size()), Narrow(data.data(), data.size())});
    }
    RegCloseKey(handle);
    return values;
  }
};

}  // namespace

RegistryReader* HostRegistry() {
  static WindowsRegistry registry;
  return &registry;
}
#else
RegistryReader* HostRegistry() { return nullptr; }
#endif

}  // namespace sceneshifter
