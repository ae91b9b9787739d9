#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sceneshifter {

namespace detail {
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
inline constexpr auto kFold = MakeFoldTable();
}  // namespace detail

// Case folding for the single-byte windows-1252 code page, in which the
// scenery file is written: ASCII letters plus the accented letters.
inline char FoldCase1252(char c) {
  return static_cast<char>(detail::kFold[static_cast<unsigned char>(c)]);
}

// True when `needle` occurs in `haystack`, letters compared without case.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// True when the two texts are equal, letters compared without case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace sceneshifter
