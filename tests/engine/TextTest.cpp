// SPDX-License-Identifier: GPL-3.0-or-later
// The text helpers that every reader of the dictionary relies on.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "Codepage.h"
#include "VantrelGlobal.h"

namespace vantrel {
namespace {

TEST(PositionsTest, LastPosFindsTheLastOccurrenceIncludingOverlaps) {
  struct Row {
    const char* sub;
    const char* text;
    int expected;
  };
  const Row rows[] = {
      {"22", "2222", 3}, {"2", "1-800-2", 7}, {"22", "212", 0},
      {"", "2222", 0},   {"abc", "ab", 0},    {"a", "a", 1},
      {"x", "", 0},      {"77", "9377", 3},   {"377", "9377", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.sub) + " in " + row.text);
    EXPECT_EQ(LastPos(row.sub, row.text), row.expected);
  }
}

TEST(PositionsTest, FirstAndLastDigitSkipSeparatorsAndBullets) {
  EXPECT_EQ(FirstDigitPos("1-800-356-9377"), 1);
  EXPECT_EQ(LastDigitPos("1-800-356-9377"), 14);
  EXPECT_EQ(FirstDigitPos("\x95\x95-28"), 4);
  EXPECT_EQ(LastDigitPos("28-\x95\x95 "), 2);
  EXPECT_EQ(FirstDigitPos("\x95\x95\x95"), 0);
  EXPECT_EQ(LastDigitPos(""), 0);
  EXPECT_EQ(FirstDigitPos("abc"), 0);
}

TEST(StripBracketsTest, RemovesGroupsWhileTheLastOpenStandsBeforeTheFirstClose) {
  struct Row {
    const char* line;
    const char* expected;
  };
  const Row rows[] = {
      {"2255,ball (a toy),B", "2255,ball ,B"},
      {"2255,(a toy) ball,B", "2255, ball,B"},
      {"a ((b) c) d", "a  d"},         // nested, innermost first
      {"a (b) c (d)", "a (b) c (d)"},  // two groups side by side stay
      {"a (b", "a (b"},
      {"a b)", "a b)"},
      {")(", ")("},
      {"()", ""},
      {"no brackets", "no brackets"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(StripBrackets(row.line), row.expected);
  }
}

TEST(StripBracketsTest, CutsTheResultTo255Characters) {
  EXPECT_EQ(StripBrackets(std::string(300, 'x')).size(), 255u);
  // A group removed from a long text may leave it short enough.
  EXPECT_EQ(StripBrackets(std::string(10, 'x') + "(" + std::string(100, 'y') + ")"),
            std::string(10, 'x'));
}

TEST(ParseDictionaryLineTest, SplitsDigitsWordAndClass) {
  struct Row {
    const char* line;
    bool ok;
    const char* digits;
    const char* word;
    char cls;
  };
  const Row rows[] = {
      {"4357,help,A", true, "4357", "help", 'A'},
      {"4357,help,AB and more", true, "4357", "help", 'A'},
      {"2255,ball (a toy),B", true, "2255", "ball ", 'B'},
      {"2255, ball ,B", true, "2255", " ball ", 'B'},
      {"9729,x-ray,B", true, "9729", "x-ray", 'B'},
      {"464,-ing,B", true, "464", "-ing", 'B'},
      {"228,bat,", false, "", "", 0},  // no class letter
      {"228,bat", false, "", "", 0},   // no second comma
      {",bat,B", false, "", "", 0},    // empty digits field
      {"228,,B", false, "", "", 0},    // empty word field
      {"", false, "", "", 0},
      {"(a,b),word,B", false, "", "", 0},  // the group and its comma are gone first
      {"2(a),w,B", true, "2", "w", 'B'},
      // Groups side by side both stay, and their commas count.
      {"2(a),w(b)x,B", true, "2(a)", "w(b)x", 'B'},
      {"2 (x,y) (z),w,B", true, "2 (x", "y) (z)", 'w'},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    DictionaryEntry entry;
    ASSERT_EQ(ParseDictionaryLine(row.line, entry), row.ok);
    if (row.ok) {
      EXPECT_EQ(entry.digits, row.digits);
      EXPECT_EQ(entry.word, row.word);
      EXPECT_EQ(entry.classLetter, row.cls);
    }
  }
}

TEST(ParseDictionaryLineTest, ALineIsSplitAsAt255CharactersWithOrWithoutBrackets) {
  // The class letter is the 256th character: cut off, whether or not a group was there
  // to be removed; a lone ')' removes nothing.
  const std::string word(252, 'w');
  DictionaryEntry entry;
  EXPECT_FALSE(ParseDictionaryLine("2," + word + ",B", entry));
  EXPECT_FALSE(ParseDictionaryLine("2," + word + ",B)", entry));
  // Removing the group brings the class letter within the 255.
  EXPECT_TRUE(ParseDictionaryLine("2,(x)" + word.substr(3) + ",B", entry));
  EXPECT_EQ(entry.word, word.substr(3));
  EXPECT_TRUE(ParseDictionaryLine("2,w),B", entry));
  EXPECT_EQ(entry.word, "w)");
}

TEST(TextTest, TrimRemovesControlCharactersAndBlanksOnly) {
  EXPECT_EQ(Trim(" \t\r\n228-4357 \x01"), "228-4357");
  EXPECT_EQ(Trim("\x95 x \x95"), "\x95 x \x95");
  EXPECT_EQ(Trim("   "), "");
}

TEST(TextTest, LowerAZLeavesEverythingElseAlone) {
  EXPECT_EQ(LowerAZ("HeLP \xC9T\xC9 [Z]"), "help \xC9t\xC9 [z]");
}

// The one UTF-8 decoder that the catalogs, the settings file and the code page share:
// only the shortest form of a character up to U+10FFFF, and no surrogate, is valid.
TEST(CodepageTest, DecodesOnlyWellFormedUtf8) {
  constexpr std::size_t kAllValid = std::string_view::npos;
  struct Row {
    const char* name;
    std::string bytes;
    char32_t code;             // of the first sequence, when valid
    std::size_t length;        // of the first sequence as DecodeUtf8At reads it
    bool valid;                // the first sequence
    std::size_t firstInvalid;  // of the whole text
  } rows[] = {
      {"plain", "Kopieren", U'K', 1, true, kAllValid},
      {"the last one-byte character", "\x7F", 0x7F, 1, true, kAllValid},
      {"two bytes", "\xC3\xA9", 0xE9, 2, true, kAllValid},
      {"the first two-byte character", "\xC2\x80", 0x80, 2, true, kAllValid},
      {"three bytes", "\xE2\x82\xAC", 0x20AC, 3, true, kAllValid},
      {"the last character before the surrogates", "\xED\x9F\xBF", 0xD7FF, 3, true, kAllValid},
      {"the first character after the surrogates", "\xEE\x80\x80", 0xE000, 3, true, kAllValid},
      {"four bytes", "\xF0\x9F\x98\x80", 0x1F600, 4, true, kAllValid},
      {"the last character", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4, true, kAllValid},
      // Overlong forms.
      {"slash in two bytes", "\xC0\xAF", 0, 2, false, 0},
      {"the smallest two-byte form too small", "\xC1\xBF", 0, 2, false, 0},
      {"slash in three bytes", "\xE0\x80\xAF", 0, 3, false, 0},
      {"the last two-byte character in three", "\xE0\x9F\xBF", 0, 3, false, 0},
      {"slash in four bytes", "\xF0\x80\x80\xAF", 0, 4, false, 0},
      {"the last three-byte character in four", "\xF0\x8F\xBF\xBF", 0, 4, false, 0},
      // Surrogates.
      {"the first surrogate", "\xED\xA0\x80", 0, 3, false, 0},
      {"the last surrogate", "\xED\xBF\xBF", 0, 3, false, 0},
      // Beyond U+10FFFF.
      {"beyond the last character", "\xF4\x90\x80\x80", 0, 4, false, 0},
      {"the largest four-byte form", "\xF7\xBF\xBF\xBF", 0, 4, false, 0},
      {"a five-byte lead", "\xF8\x88\x80\x80\x80", 0, 1, false, 0},
      {"0xFF", "\xFF", 0, 1, false, 0},
      // Cut short, at the end or by a byte that is no continuation.
      {"a lead byte alone", "\xC3", 0, 1, false, 0},
      {"a lead byte alone after a letter", "a\xC3", U'a', 1, true, 1},
      {"three bytes cut after two", "\xE2\x82", 0, 1, false, 0},
      {"four bytes cut after three", "\xF0\x9F\x98", 0, 1, false, 0},
      {"a letter where a continuation belongs", "\xC3(", 0, 1, false, 0},
      {"a stray continuation byte", "\x80", 0, 1, false, 0},
      {"a fault after valid characters", "\xC3\xA9\xE2\x82\xAC\xED\xA0\x80x", 0xE9, 2, true, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Utf8Char first = DecodeUtf8At(row.bytes, 0);
    EXPECT_EQ(first.valid, row.valid);
    EXPECT_EQ(first.length, row.length);
    if (row.valid) {
      EXPECT_EQ(first.code, row.code);
    }
    EXPECT_EQ(FirstInvalidUtf8(row.bytes), row.firstInvalid);
    EXPECT_EQ(IsValidUtf8(row.bytes), row.firstInvalid == kAllValid);
  }
}

TEST(CodepageTest, ConvertsBothWays) {
  EXPECT_EQ(Cp1252ToUtf8("\x95"), "\xE2\x80\xA2");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\xA2"), "\x95");
  EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(Utf8ToCp1252("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
  // Characters the code page lacks, and malformed UTF-8, become '?'.
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");      // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "?");  // a surrogate
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << byte;
  }
}

}  // namespace
}  // namespace vantrel
