// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sceneshifter {

// The code page in which the scenery file's text is read and written. On
// Windows it is the system's ANSI code page, as the simulator uses. On other
// hosts it is SCENESHIFTER_CODEPAGE when that names a code page with a
// built-in table, else the one Windows uses for the language of the user's
// locale. It stays the same for the whole run.
int ActiveCodePage();

// True for the code pages with built-in tables: 874 and 1250 to 1258.
bool HasCodePageTable(int codePage);

// The Windows code page of a POSIX locale name such as "pl_PL.UTF-8" or
// "sr_RS@latin"; 1252 for every language that has none of its own.
int CodePageOfLocale(std::string_view locale);

// The choice ActiveCodePage makes on a host other than Windows, from the
// values of SCENESHIFTER_CODEPAGE, LC_ALL, LC_CTYPE and LANG (null when
// unset).
int ChooseCodePage(const char* override, const char* lcAll, const char* lcCtype,
                   const char* lang);

// Why the SCENESHIFTER_CODEPAGE value `value` cannot be used, listing the
// values that can; empty when it names a code page with a table or is unset
// or empty.
std::string CodePageSettingProblem(const char* value);

// The problem with this run's SCENESHIFTER_CODEPAGE, as above; always empty
// on Windows, where the variable is not read.
std::string ActiveCodePageProblem();

// The text of the file's bytes. A byte that the code page leaves undefined
// comes out as a character of its own (the C1 control of the same value, or
// the private-use character Windows gives it), so that it goes back as the
// same byte. A code page without a table is read as 1252.
std::u16string Utf16FromBytes(std::string_view bytes);
std::u16string Utf16FromBytes(std::string_view bytes, int codePage);
std::string Utf8FromBytes(std::string_view bytes);
std::string Utf8FromBytes(std::string_view bytes, int codePage);

// The bytes of `text`; false, with `bytes` left as it was, when the code
// page cannot hold one of its characters. In 1258 a precomposed letter with
// a tone mark is written as its letter and the combining mark.
bool BytesFromUtf16(std::u16string_view text, std::string& bytes);
bool BytesFromUtf16(std::u16string_view text, std::string& bytes, int codePage);

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// UTF-8 as UTF-16; a byte that is not part of a valid sequence becomes
// U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text);

// The code point of `sequence`, a valid UTF-8 sequence of the length that
// Utf8SequenceLength gives.
char32_t CodePointOf(std::string_view sequence);

// The case folding of single bytes in `codePage`: a letter whose lowercase
// letter the code page also holds folds to that byte; every other byte
// stays. Only ASCII letters fold in a code page without a table.
std::array<unsigned char, 256> FoldTableOf(int codePage);

// The simple lowercase mapping of the letters of the code pages above.
char16_t LowercaseOf(char16_t c);

// Appends the UTF-8 form of the code point `c`.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace sceneshifter
