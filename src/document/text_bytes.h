// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sceneshifter {

// Letter case in the file's code page, one byte at a time.
struct CaseFolding {
  std::array<unsigned char, 256> fold;  // each byte's lowercase byte
  // Bytes that no other byte matches without case, such as "[": a search
  // can look for them with a plain byte scan.
  std::array<bool, 256> caseless;

  char Fold(char c) const {
    return static_cast<char>(fold[static_cast<unsigned char>(c)]);
  }
};

CaseFolding MakeCaseFolding(int codePage);

// The folding of the active code page, made once.
const CaseFolding& ActiveCaseFolding();

// True when `needle` occurs in `haystack`, letters compared without case.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// True when the two texts are equal, letters compared without case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// True when `text` holds a control character (bytes 0 to 31 and 127): a line
// break ends the line there for the simulator, a tab splits the columns of
// the check's report.
bool HasControlCharacter(std::string_view text);

}  // namespace sceneshifter
