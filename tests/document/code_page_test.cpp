// SPDX-License-Identifier: MIT
#include "code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_bytes.h"

#if defined(__GLIBC__)
#include <iconv.h>

#include <clocale>
#include <cwctype>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

using namespace sceneshifter;

namespace {

const std::vector<int> kCodePages = {874,  1250, 1251, 1252, 1253,
                                     1254, 1255, 1256, 1257, 1258};

std::string EveryByte() {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  return all;
}

}  // namespace

TEST(CodePage, EveryByteComesBackAsItself) {
  const std::string all = EveryByte();
  for (int cp : kCodePages) {
    SCOPED_TRACE(cp);
    const std::u16string text = Utf16FromBytes(all, cp);
    ASSERT_EQ(text.size(), 256u);
    std::string back = "untouched";
    ASSERT_TRUE(BytesFromUtf16(text, back, cp));
    EXPECT_EQ(back, all);
    EXPECT_EQ(Utf8FromBytes(all, cp), Utf8FromUtf16(text));
  }
}

#if defined(__GLIBC__)
// glibc's converters are a reference of their own. The bytes it leaves
// undefined read as the C1 control of the same value below 0xA0 and as
// private-use characters above, as Windows reads them; and Windows has
// U+05BA at 0xCA of 1255, which glibc lacks.
TEST(CodePage, EveryByteAsGlibcReadsIt) {
  for (int cp : kCodePages) {
    const std::string name = "CP" + std::to_string(cp);
    iconv_t cd = iconv_open("UTF-16LE", name.c_str());
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << name;
    for (int b = 0; b < 256; ++b) {
      SCOPED_TRACE(name + " byte " + std::to_string(b));
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      char in = static_cast<char>(b);
      char16_t out[4] = {};
      char* ip = &in;
      char* op = reinterpret_cast<char*>(out);
      std::size_t inLeft = 1, outLeft = sizeof out;
      const bool defined = iconv(cd, &ip, &inLeft, &op, &outLeft) !=
                           static_cast<std::size_t>(-1);
      iconv(cd, nullptr, nullptr, &op, &outLeft);  // what a combiner holds back
      const char16_t ours = Utf16FromBytes(std::string(1, in), cp)[0];
      if (defined && op == reinterpret_cast<char*>(out) + 2) {
        EXPECT_EQ(ours, out[0]);
      } else if (cp == 1255 && b == 0xCA) {
        EXPECT_EQ(ours, 0x05BA);
      } else {
        ASSERT_FALSE(defined);
        if (b < 0xA0) {
          EXPECT_EQ(ours, b);
        } else {
          EXPECT_TRUE(ours >= 0xF880 && ours <= 0xF8FF)
              << std::hex << int{ours};
        }
      }
    }
    iconv_close(cd);
  }
}

// Every character of the BMP, alone, as glibc writes it in 1258: refused,
// one byte, or a letter and its combining tone mark.
TEST(CodePage, VietnameseAsGlibcWritesIt) {
  iconv_t cd = iconv_open("CP1258", "UTF-16LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const char16_t in[1] = {static_cast<char16_t>(c)};
    char out[8] = {};
    char* ip = reinterpret_cast<char*>(const_cast<char16_t*>(in));
    char* op = out;
    std::size_t inLeft = sizeof in, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool held = iconv(cd, &ip, &inLeft, &op, &outLeft) !=
                          static_cast<std::size_t>(-1) &&
                      iconv(cd, nullptr, nullptr, &op, &outLeft) !=
                          static_cast<std::size_t>(-1);
    std::string ours;
    const bool oursHeld =
        BytesFromUtf16(std::u16string_view(in, 1), ours, 1258);
    // The stand-ins of the bytes 1258 leaves undefined are ours alone.
    const bool standIn = c < 0xA0 || (c >= 0xF880 && c <= 0xF8FF);
    EXPECT_EQ(oursHeld, held || (standIn && oursHeld)) << std::hex << int(c);
    if (held) {
      EXPECT_EQ(ours, std::string(out, op)) << std::hex << int(c);
    }
  }
  iconv_close(cd);
}

// A byte folds to the byte of its lowercase letter, by the C library's
// Unicode case mapping.
TEST(CodePage, FoldsLettersAsTheCLibraryLowersThem) {
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8";
  for (int cp : kCodePages) {
    const auto fold = FoldTableOf(cp);
    for (int b = 0; b < 256; ++b) {
      SCOPED_TRACE(std::to_string(cp) + " byte " + std::to_string(b));
      const char16_t c = Utf16FromBytes(std::string(1, char(b)), cp)[0];
      const auto lower = static_cast<char16_t>(std::towlower(c));
      std::string byte(1, char(b));
      if (lower != c) BytesFromUtf16(std::u16string(1, lower), byte, cp);
      EXPECT_EQ(fold[b], static_cast<unsigned char>(byte[0]));
    }
  }
  std::setlocale(LC_CTYPE, "C");
}
#endif

#ifdef _WIN32
// Windows' own tables are the reference there.
TEST(CodePage, EveryByteAsWindowsReadsIt) {
  for (int cp : kCodePages) {
    for (int b = 0; b < 256; ++b) {
      SCOPED_TRACE(std::to_string(cp) + " byte " + std::to_string(b));
      const char in = static_cast<char>(b);
      wchar_t out[2] = {};
      ASSERT_EQ(MultiByteToWideChar(cp, 0, &in, 1, out, 2), 1);
      EXPECT_EQ(Utf16FromBytes(std::string(1, in), cp)[0], out[0]);
    }
  }
}

// The system's ANSI code page, through the Windows calls.
TEST(CodePage, SystemCodePageRoundTripsAndReportsWhatItCannotHold) {
  EXPECT_EQ(ActiveCodePage(), static_cast<int>(GetACP()));
  ASSERT_EQ(ActiveCodePage(), 1252) << "the tests expect an English system";
  const std::string all = EveryByte();
  std::string back;
  ASSERT_TRUE(BytesFromUtf16(Utf16FromBytes(all), back));
  EXPECT_EQ(back, all);
  for (const char16_t* text : {u"\u0141\u00F3d\u017A", u"\u2260", u"\xD83D"}) {
    std::string bytes =
        "untouched";  // Ł has a best fit, L, that must not be taken
    EXPECT_FALSE(BytesFromUtf16(text, bytes));
    EXPECT_EQ(bytes, "untouched");
  }
}
#endif

TEST(CodePage, TextThatTheCodePageCannotHold) {
  struct Case {
    int cp;
    std::u16string text;
    const char* bytes;  // null when it cannot be held
  };
  const std::vector<Case> cases = {
      {1252, u"Z\u00FCrich \u20AC", "Z\xFCrich \x80"},
      {1252, u"\u0141\u00F3d\u017A", nullptr},
      {1250, u"\u0141\u00F3d\u017A", "\xA3\xF3\x64\x9F"},
      {1251, u"\u041C\u043E\u0441\u043A\u0432\u0430",
       "\xCC\xEE\xF1\xEA\xE2\xE0"},
      {1251, u"caf\u00E9", nullptr},
      {1252, u"\xD83D\xDE00", nullptr},  // outside the BMP
      {1252, u"\xDC80", nullptr},        // an unpaired surrogate
      {1253, u"\uF8F9", "\xAA"},         // an undefined byte's stand-in
      {1252, u"", ""},
      // Toned letters go to 1258 as the letter and its combining mark.
      {1258, u"Vi\u1EC7t Nam", "Vi\xEA\xF2t Nam"},
      {1258, u"\u1EA5\u00C3",
       "\xE2\xEC"
       "A\xDE"},
      {1258, u"\u1EC7\u0141", nullptr},
      {1252, u"Vi\u1EC7t", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cp);
    std::string bytes = "untouched";
    EXPECT_EQ(BytesFromUtf16(c.text, bytes, c.cp), c.bytes != nullptr);
    EXPECT_EQ(bytes, c.bytes ? c.bytes : "untouched");
  }
}

TEST(CodePage, ChosenFromTheLocaleOrTheVariable) {
  struct Case {
    const char *override, *lcAll, *lcCtype, *lang;
    int cp;
  };
  const std::vector<Case> cases = {
      {nullptr, nullptr, nullptr, nullptr, 1252},
      {nullptr, nullptr, nullptr, "C.UTF-8", 1252},
      {nullptr, nullptr, nullptr, "pl_PL.UTF-8", 1250},
      {nullptr, nullptr, nullptr, "cs_CZ", 1250},
      {nullptr, nullptr, nullptr, "ru_RU.KOI8-R", 1251},
      {nullptr, nullptr, nullptr, "uk_UA.UTF-8", 1251},
      {nullptr, nullptr, nullptr, "sr_RS", 1251},
      {nullptr, nullptr, nullptr, "sr_RS@latin", 1250},
      {nullptr, nullptr, nullptr, "az_AZ.UTF-8", 1254},
      {nullptr, nullptr, nullptr, "az_AZ@cyrillic", 1251},
      {nullptr, nullptr, nullptr, "el_GR.UTF-8", 1253},
      {nullptr, nullptr, nullptr, "TR_tr", 1254},
      {nullptr, nullptr, nullptr, "he_IL", 1255},
      {nullptr, nullptr, nullptr, "fa_IR", 1256},
      {nullptr, nullptr, nullptr, "lt_LT", 1257},
      {nullptr, nullptr, nullptr, "vi_VN", 1258},
      {nullptr, nullptr, nullptr, "th_TH.UTF-8", 874},
      {nullptr, nullptr, nullptr, "de_DE@euro", 1252},
      {nullptr, nullptr, nullptr, "ja_JP.UTF-8", 1252},
      // LC_ALL before LC_CTYPE before LANG; an empty one does not count.
      {nullptr, "el_GR", "pl_PL", "ru_RU", 1253},
      {nullptr, "", "pl_PL", "ru_RU", 1250},
      {nullptr, nullptr, "", "ru_RU", 1251},
      // The variable, when it names a code page with a table.
      {"1250", nullptr, nullptr, "ru_RU", 1250},
      {"874", "el_GR", nullptr, nullptr, 874},
      {"932", nullptr, nullptr, "ru_RU", 1251},
      {"1250x", nullptr, nullptr, "ru_RU", 1251},
      {"", nullptr, nullptr, "ru_RU", 1251},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.override ? c.override : "-") + " " +
                 (c.lang ? c.lang : "-"));
    EXPECT_EQ(ChooseCodePage(c.override, c.lcAll, c.lcCtype, c.lang), c.cp);
  }
}

TEST(CodePage, AVariableNamingNoCodePageIsAnError) {
  for (const char* fine :
       {static_cast<const char*>(nullptr), "", "874", "1250", "1258"})
    EXPECT_EQ(CodePageSettingProblem(fine), "") << fine;
  for (const char* bad : {"1250x", "65001", "437", "932", "-1252", "utf-8"}) {
    const std::string problem = CodePageSettingProblem(bad);
    EXPECT_NE(problem.find(std::string("\"") + bad + "\""), std::string::npos)
        << problem;
    EXPECT_NE(problem.find("874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, "
                           "1257, 1258"),
              std::string::npos)
        << problem;
  }
}

TEST(CodePage, LettersFoldInTheirOwnCodePage) {
  struct Case {
    int cp;
    const char *upper, *lower;
  };
  const std::vector<Case> cases = {
      {1252, "ZURICH \xC9\x8A\x9F", "zurich \xE9\x9A\xFF"},
      {1250, "\xA3\xD3\x8F\xA5", "\xB3\xF3\x9F\xB9"},          // ŁÓŹĄ
      {1251, "\xCC\xCE\xD1\xA8\xA5", "\xEC\xEE\xF1\xB8\xB4"},  // МОСЁҐ
      {1253, "\xC1\xD3\xA2", "\xE1\xF3\xDC"},                  // ΑΣΆ
      {1254, "I\xDD", "ii"},                                   // I İ
      {874, "\xA1", "\xA1"},  // Thai has no case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cp);
    const CaseFolding f = MakeCaseFolding(c.cp);
    const std::string upper = c.upper, lower = c.lower;
    ASSERT_EQ(upper.size(), lower.size());
    for (std::size_t i = 0; i < upper.size(); ++i)
      EXPECT_EQ(f.Fold(upper[i]), lower[i]) << i;
  }
  // In 1252 the Cyrillic bytes are other letters: Ì folds to ì, and the
  // multiplication sign stays.
  const CaseFolding latin = MakeCaseFolding(1252);
  EXPECT_EQ(latin.Fold('\xCC'), '\xEC');
  EXPECT_EQ(latin.Fold('\xD7'), '\xD7');
  EXPECT_TRUE(latin.caseless['[']);
  EXPECT_FALSE(latin.caseless['a']);
}

TEST(CodePage, Utf8AndUtf16) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"Z\xC3\xBCrich \xE2\x82\xAC", u"Z\u00FCrich \u20AC"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"a\xFF"
       "b",
       u"a\uFFFDb"},                            // not UTF-8
      {"\xC3", u"\uFFFD"},                      // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
    if (c.utf16.find(u'\uFFFD') == std::u16string::npos) {
      EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
    }
  }
  EXPECT_EQ(Utf8FromUtf16(u"a\xDC80"), "a\xEF\xBF\xBD");
}
