// SPDX-License-Identifier: MIT
#include "text_bytes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "code_page.h"

namespace sceneshifter {

CaseFolding MakeCaseFolding(int codePage) {
  CaseFolding f{FoldTableOf(codePage), {}};
  std::array<int, 256> folding{};
  for (unsigned char to : f.fold) ++folding[to];
  for (int b = 0; b < 256; ++b) f.caseless[b] = folding[f.fold[b]] == 1;
  return f;
}

const CaseFolding& ActiveCaseFolding() {
  static const CaseFolding folding = MakeCaseFolding(ActiveCodePage());
  return folding;
}

namespace {

bool EqualsNoCase(const CaseFolding& f, std::string_view a,
                  std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&f](char x, char y) { return f.Fold(x) == f.Fold(y); });
}

}  // namespace

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  if (needle.size() > haystack.size()) return false;
  const CaseFolding& f = ActiveCaseFolding();
  if (f.caseless[static_cast<unsigned char>(needle[0])]) {
    // Every line of a scenery file is searched for "[Area." and "[Cache":
    // find the bracket with memchr and compare only from there.
    const std::string_view rest = needle.substr(1);
    const char* p = haystack.data();
    const char* const last = p + (haystack.size() - needle.size());
    while (p <= last) {
      p = static_cast<const char*>(
          std::memchr(p, needle[0], static_cast<std::size_t>(last - p) + 1));
      if (!p) return false;
      if (EqualsNoCase(f, std::string_view(p + 1, rest.size()), rest))
        return true;
      ++p;
    }
    return false;
  }
  return std::search(haystack.begin(), haystack.end(), needle.begin(),
                     needle.end(), [&f](char x, char y) {
                       return f.Fold(x) == f.Fold(y);
                     }) != haystack.end();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return EqualsNoCase(ActiveCaseFolding(), a, b);
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

}  // namespace sceneshifter
