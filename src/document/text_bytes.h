#pragma once

#include <string>
#include <string_view>

namespace sceneshifter {

// Case folding for the single-byte windows-1252 code page, in which the
// scenery file is written: ASCII letters plus the accented letters.
char FoldCase1252(char c);

// True when `needle` occurs in `haystack`, letters compared without case.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// True when the two texts are equal, letters compared without case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace sceneshifter
