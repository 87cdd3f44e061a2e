#include "platform/Cp1252.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace platform {
namespace {

struct ConversionCase {
  const char* what;
  std::string ansi;
  std::optional<std::string> utf8;
};

// The bytes 0x80..0x9F are where 1252 differs from Latin-1; five of them are undefined.
TEST(Cp1252, AnsiToUtf8ConvertsEveryDefinedByteAndRefusesTheUndefinedOnes) {
  const ConversionCase cases[] = {
      {"ascii", "tree.paf", std::string("tree.paf")},
      {"accented letter", "M\xFCller.jpg", std::string("M\xC3\xBCller.jpg")},
      {"euro sign at 0x80", "\x80", std::string("\xE2\x82\xAC")},
      {"capital Y diaeresis at 0x9F", "\x9F", std::string("\xC5\xB8")},
      {"small y diaeresis at 0xFF", "\xFF", std::string("\xC3\xBF")},
      {"undefined 0x81", "a\x81", std::nullopt},
      {"undefined 0x9D", "\x9D", std::nullopt},
      {"empty", "", std::string()},
  };
  for (const ConversionCase& c : cases) EXPECT_EQ(ansiToUtf8(c.ansi), c.utf8) << c.what;
}

TEST(Cp1252, Utf8ToAnsiNeverGuessesForCharactersOutsideTheCodePage) {
  struct Case {
    const char* what;
    std::string utf8;
    std::optional<std::string> ansi;
  };
  const Case cases[] = {
      {"accented letter", "M\xC3\xBCller.jpg", std::string("M\xFCller.jpg")},
      {"euro sign", "\xE2\x82\xAC", std::string("\x80")},
      {"A macron (U+0100)", "\xC4\x80", std::nullopt},
      {"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", std::nullopt},
      {"emoji", "\xF0\x9F\x98\x80", std::nullopt},
      {"truncated sequence", "M\xC3", std::nullopt},
      {"lone continuation byte", "\x80", std::nullopt},
      {"U+0081 (only an undefined byte would give it)", "\xC2\x81", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8ToAnsi(c.utf8), c.ansi) << c.what;
}

TEST(Cp1252, WideUnitsFollowTheCodePageAndRoundTrip) {
  EXPECT_EQ(ansiToWide(0x41), u'A');
  EXPECT_EQ(ansiToWide(0x80), u'\u20AC');
  EXPECT_EQ(ansiToWide(0x8A), u'\u0160');
  EXPECT_EQ(ansiToWide(0x9F), u'\u0178');
  EXPECT_EQ(ansiToWide(0xE9), u'\u00E9');
  EXPECT_EQ(ansiToWide(0x81), u'\u0081');  // undefined: kept as is
  for (unsigned b = 0; b < 256; ++b) EXPECT_EQ(wideToAnsi(ansiToWide(static_cast<unsigned char>(b))), b) << b;
  EXPECT_EQ(wideToAnsi(u'\u0080'), std::nullopt);  // 0x80 is the euro sign, not U+0080
  EXPECT_EQ(wideToAnsi(u'\u0100'), std::nullopt);
}

TEST(Cp1252, LetterCaseCoversAccentedLettersButNotSignsOrSharpS) {
  struct Case {
    unsigned char upper;
    unsigned char lower;
  };
  const Case letters[] = {{'A', 'a'}, {'Z', 'z'}, {0xC0, 0xE0}, {0xC9, 0xE9}, {0xDC, 0xFC}, {0xDE, 0xFE},
                          {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};
  for (const Case& c : letters) {
    EXPECT_EQ(ansiToLower(c.upper), c.lower) << int{c.upper};
    EXPECT_EQ(ansiToLower(c.lower), c.lower) << int{c.lower};
    EXPECT_TRUE(ansiEqualsIgnoreCase(std::string(1, static_cast<char>(c.upper)), std::string(1, static_cast<char>(c.lower))));
  }
  // Multiplication and division signs sit among the letters but have no case; sharp s and
  // micro have no capital in 1252.
  for (int sign : {0xD7, 0xF7, 0xDF, 0xB5, 0x5B, 0x5F, 0x40}) EXPECT_EQ(ansiToLower(static_cast<unsigned char>(sign)), sign) << sign;
  EXPECT_FALSE(ansiEqualsIgnoreCase("\xD7", "\xF7"));
  EXPECT_EQ(ansiToLower("M\xDCLLER.JPG"), "m\xFCller.jpg");
}

TEST(Cp1252, CompareIgnoringCaseOrdersByUpperCase) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  const Case cases[] = {
      {"abc", "ABC", 0},
      {"a", "B", -1},
      {"B", "a", 1},
      {"Zeta", "_x", -1},        // '_' sorts after the letters once they are upper case
      {"_x", "\xE9mile", -1},    // accented letters after ASCII
      {"ab", "abc", -1},
      {"\xFF", "\x9F", 0},       // y diaeresis, either case
  };
  for (const Case& c : cases) {
    const int result = ansiCompareIgnoreCase(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
  }
}

}  // namespace
}  // namespace platform
