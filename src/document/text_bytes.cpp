#include "text_bytes.h"

#include <algorithm>
#include <array>

namespace sceneshifter {
namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) t[c] = static_cast<unsigned char>(c + 32);  // not the sign ×
  t[0x8A] = 0x9A;                                              // Š
  t[0x8C] = 0x9C;                                              // Œ
  t[0x8E] = 0x9E;                                              // Ž
  t[0x9F] = 0xFF;                                              // Ÿ
  return t;
}

constexpr auto kFold = MakeFoldTable();

bool SameNoCase(char a, char b) { return FoldCase1252(a) == FoldCase1252(b); }

}  // namespace

char FoldCase1252(char c) {
  return static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  return std::search(haystack.begin(), haystack.end(), needle.begin(),
                     needle.end(), SameNoCase) != haystack.end();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), SameNoCase);
}

}  // namespace sceneshifter
