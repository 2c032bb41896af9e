// SPDX-License-Identifier: GPL-3.0-or-later
// The text helpers that every reader of the dictionary relies on.

#include <gtest/gtest.h>

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
