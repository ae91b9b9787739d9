#include "text_bytes.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sceneshifter {
namespace {

using detail::kFold;

// Bytes that no other byte matches without case, such as "[": a search can
// look for them with a plain byte scan.
constexpr std::array<bool, 256> MakeCaselessTable() {
  std::array<bool, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int matches = 0;
    for (int j = 0; j < 256; ++j) matches += kFold[i] == kFold[j];
    t[i] = matches == 1;
  }
  return t;
}

constexpr auto kCaseless = MakeCaselessTable();

bool SameNoCase(char a, char b) { return FoldCase1252(a) == FoldCase1252(b); }

}  // namespace

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  if (needle.size() > haystack.size()) return false;
  if (kCaseless[static_cast<unsigned char>(needle[0])]) {
    // Every line of a scenery file is searched for "[Area." and "[Cache":
    // find the bracket with memchr and compare only from there.
    const std::string_view rest = needle.substr(1);
    const char* p = haystack.data();
    const char* const last = p + (haystack.size() - needle.size());
    while (p <= last) {
      p = static_cast<const char*>(
          std::memchr(p, needle[0], static_cast<std::size_t>(last - p) + 1));
      if (!p) return false;
      if (EqualsNoCase(std::string_view(p + 1, rest.size()), rest)) return true;
      ++p;
    }
    return false;
  }
  return std::search(haystack.begin(), haystack.end(), needle.begin(),
                     needle.end(), SameNoCase) != haystack.end();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), SameNoCase);
}

}  // namespace sceneshifter
