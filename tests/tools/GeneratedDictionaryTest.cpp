// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the English dictionary that the build generated, as the program will read it.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Codepage.h"
#include "DictionaryGenerator.h"

namespace vantrel::gendict {
namespace {

class GeneratedEnglishTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { read_ = ReadFile(VANTREL_ENGLISH_DICTIONARY, file_); }
  void SetUp() override { ASSERT_TRUE(read_.IsOk()) << read_.Reason(); }

  static bool HasLine(std::string_view line) {
    return file_.find("\r\n" + std::string(line) + "\r\n") != std::string::npos;
  }

  // The figure on the line of an entry ("4357,help,B"): -1 when the line has none, -2
  // when there is no such line.
  static int FigureOf(std::string_view entry) {
    const std::string start = "\r\n" + std::string(entry);
    for (std::size_t at = file_.find(start); at != std::string::npos;
         at = file_.find(start, at + 1)) {
      const std::size_t from = at + start.size();
      if (file_.compare(from, 2, "\r\n") == 0) {
        return -1;
      }
      if (file_[from] == ',') {
        return std::stoi(file_.substr(from + 1, file_.find("\r\n", from) - from - 1));
      }
    }
    return -2;
  }

  static inline std::string file_;
  static inline Status read_;
};

TEST_F(GeneratedEnglishTest, HoldsTheWordsOfTheUsualExamples) {
  for (std::string_view entry :
       {"3569377,flowers,B", "228,bat,B", "4357,help,B", "4357,gels,E", "7378423,service,B"}) {
    SCOPED_TRACE(entry);
    EXPECT_GE(FigureOf(entry), 0);
  }
  EXPECT_GE(FigureOf("26478766,\xC5ngstr\xF6m,A"), -1);
  for (std::string_view line : {"464,-ing,B", "5377,+less,B", "73,re-,B", "6837,over+,B"}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(HasLine(line));
  }
  // Possessives and other words with signs are left out.
  EXPECT_FALSE(HasLine("4357,help's,B"));
  EXPECT_EQ(file_.find('\''), std::string::npos);
}

// The figure of a word says how common it is, from Onboard's word counts (scowl's word
// lists by size for the words they lack), and its class letter gives the band; the
// suggestions put common words first.
TEST_F(GeneratedEnglishTest, OrdinaryWordsCarryTheirCommonness) {
  const std::vector<std::pair<std::string_view, char>> words = {
      {"228,act,", kWordClass},         {"4357,help,", kWordClass},
      {"93337,weeds,", kFamiliarClass}, {"3367,dens,", kLessCommonClass},
      {"7477,pips,", kRareClass},       {"22224,abaci,", kRareClass},
  };
  for (const auto& [start, letter] : words) {
    SCOPED_TRACE(start);
    EXPECT_GE(FigureOf(std::string(start) + letter), 0);
  }
  // Everyday words outrank the rarer ones, and the figure is finer than the band: words
  // of one band differ.
  EXPECT_GT(FigureOf("843,the,B"), FigureOf("4357,help,B"));
  EXPECT_GT(FigureOf("4357,help,B"), FigureOf("3569377,flowers,B"));
  EXPECT_GT(FigureOf("3569377,flowers,B"), FigureOf("4357,gels,E"));
  // A name the counts lack is rare, and so is a word without a vowel, however often text
  // writes it.
  EXPECT_EQ(FigureOf("888,Tut,A"), 12);
  EXPECT_EQ(FigureOf("56,km,F"), 12);
  // Every band takes a fair share of the words: the lists were found and read.
  std::array<std::size_t, 256> perLetter{};
  for (std::size_t at = file_.find(",", 0); at != std::string::npos; at = file_.find("\r\n", at)) {
    at += 2;
    const std::size_t first = file_.find(',', at);
    const std::size_t second = first == std::string::npos ? first : file_.find(',', first + 1);
    if (second == std::string::npos || second + 1 >= file_.size()) {
      break;
    }
    perLetter[static_cast<unsigned char>(file_[second + 1])] += 1;
  }
  for (char letter : {kWordClass, kFamiliarClass, kLessCommonClass, kRareClass, kNameClass}) {
    SCOPED_TRACE(std::string(1, letter));
    EXPECT_GT(perLetter[static_cast<unsigned char>(letter)], 1000U);
  }
}

TEST_F(GeneratedEnglishTest, EndsWithTheDigitsAndAnEmptyLine) {
  const std::size_t digits = file_.find("\r\n0,0,D\r\n1,1,D\r\n");
  ASSERT_NE(digits, std::string::npos);
  EXPECT_LT(file_.find("\r\n464,-ing,B\r\n"), digits);
  EXPECT_LT(file_.find("\r\n3569377,flowers,B,"), file_.find("\r\n464,-ing,B\r\n"));
  EXPECT_TRUE(file_.ends_with("8,8,D\r\n9,9,D\r\n\r\n"));
}

// Every line ends with CR LF and no LF stands alone, since the program ends lines at CR
// and reads an LF without one as part of the line. Each entry line must be read whole and
// its digits must be the keypad spelling of its word, marks excluded.
TEST_F(GeneratedEnglishTest, EveryLineIsAWholeEntrySpelledOnTheKeypad) {
  std::string_view rest = file_;
  std::size_t lineNumber = 0;
  std::size_t checked = 0;
  while (!rest.empty()) {
    ++lineNumber;
    const std::size_t end = rest.find("\r\n");
    ASSERT_NE(end, std::string_view::npos) << "line " << lineNumber << " lacks CR LF";
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 2);
    ASSERT_EQ(line.find_first_of("\r\n\x1A"), std::string_view::npos) << "line " << lineNumber;
    if (rest.empty()) {
      EXPECT_EQ(line, "") << "the last line is never read, so it must be empty";
      break;
    }
    ASSERT_LE(line.size(), kMaxLineLength) << "line " << lineNumber;
    const std::size_t first = line.find(',');
    const std::size_t second = line.find(',', first + 1);
    ASSERT_TRUE(first != std::string_view::npos && second != std::string_view::npos &&
                second + 2 <= line.size())
        << "line " << lineNumber << ": " << line;
    const std::string_view digits = line.substr(0, first);
    std::string_view word = line.substr(first + 1, second - first - 1);
    const char classLetter = line[second + 1];
    // The figure: a comma and one or two digits, or nothing.
    const std::string_view fourth = line.substr(second + 2);
    int figure = -1;
    if (!fourth.empty()) {
      ASSERT_TRUE(fourth.size() >= 2 && fourth.size() <= 3 && fourth[0] == ',' &&
                  fourth.find_first_not_of("0123456789", 1) == std::string_view::npos)
          << "line " << lineNumber << ": " << line;
      figure = std::stoi(std::string(fourth.substr(1)));
    }
    if (classLetter == kDigitClass) {
      ASSERT_TRUE(digits.size() == 1 && digits == word && figure < 0) << line;
      ++checked;
      continue;
    }
    const bool affix =
        word.front() == '-' || word.front() == '+' || word.back() == '-' || word.back() == '+';
    if (word.front() == '-' || word.front() == '+') {
      word.remove_prefix(1);
    }
    if (word.back() == '-' || word.back() == '+') {
      word.remove_suffix(1);
    }
    std::string spelled;
    for (char byte : word) {
      spelled += KeypadDigit(Cp1252ToUnicode(static_cast<unsigned char>(byte)));
    }
    ASSERT_EQ(spelled, digits) << "line " << lineNumber << ": " << line;
    // Names and affixes have their letters, and affixes no figure; every other word has a
    // figure and the letter of its band.
    if (affix) {
      ASSERT_TRUE(classLetter == kWordClass && figure < 0) << line;
    } else if (IsUpperCaseLetter(Cp1252ToUnicode(static_cast<unsigned char>(word.front())))) {
      ASSERT_EQ(classLetter, kNameClass) << line;
    } else {
      ASSERT_GE(figure, 0) << line;
      ASSERT_EQ(classLetter, CommonnessClass(figure)) << line;
    }
    ++checked;
  }
  EXPECT_GT(checked, 50000u);
}

}  // namespace
}  // namespace vantrel::gendict
