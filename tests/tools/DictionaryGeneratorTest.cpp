// SPDX-License-Identifier: GPL-3.0-or-later
#include "DictionaryGenerator.h"

#include "Suggest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::gendict {
namespace {

TEST(KeypadDigitTest, EveryLetterOfBothCasesSitsOnItsKey) {
  const std::vector<std::pair<std::string, char>> keys = {
      {"abc", '2'}, {"def", '3'},  {"ghi", '4'}, {"jkl", '5'},
      {"mno", '6'}, {"pqrs", '7'}, {"tuv", '8'}, {"wxyz", '9'},
  };
  int letters = 0;
  for (const auto& [group, key] : keys) {
    for (char lower : group) {
      const char upper = static_cast<char>(lower - 'a' + 'A');
      SCOPED_TRACE(std::string(1, lower));
      EXPECT_EQ(KeypadDigit(static_cast<char32_t>(lower)), key);
      EXPECT_EQ(KeypadDigit(static_cast<char32_t>(upper)), key);
      EXPECT_FALSE(IsUpperCaseLetter(static_cast<char32_t>(lower)));
      EXPECT_TRUE(IsUpperCaseLetter(static_cast<char32_t>(upper)));
      ++letters;
    }
  }
  EXPECT_EQ(letters, 26);
}

TEST(KeypadDigitTest, AccentedLettersSitOnTheKeyOfTheirBaseLetter) {
  struct Row {
    char32_t letter;
    char key;
    bool upper;
  };
  const Row rows[] = {
      {U'À', '2', true},  {U'å', '2', false}, {U'Ç', '2', true},  {U'é', '3', false},
      {U'Ë', '3', true},  {U'î', '4', false}, {U'ñ', '6', false}, {U'Ö', '6', true},
      {U'ø', '6', false}, {U'ü', '8', false}, {U'Ú', '8', true},  {U'ý', '9', false},
      {U'ÿ', '9', false}, {U'ß', '7', false}, {U'Æ', '2', true},  {U'œ', '6', false},
      {U'Œ', '6', true},  {U'š', '7', false}, {U'Ž', '9', true},  {U'Ÿ', '9', true},
      {U'Þ', '8', true},  {U'ð', '3', false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<unsigned>(row.letter));
    EXPECT_EQ(KeypadDigit(row.letter), row.key);
    EXPECT_EQ(IsUpperCaseLetter(row.letter), row.upper);
  }
}

TEST(KeypadDigitTest, CharactersOtherThanLettersHaveNoKey) {
  // Signs and digits, the signs between the Latin-1 letters, Windows-1252 symbols that
  // are not letters, and letters Windows-1252 lacks.
  for (char32_t c : {U'\'', U'-', U'+', U',', U' ', U'0', U'9', U'(', U'\x1A', U'×', U'÷', U'µ',
                     U'ª', U'ƒ', U'€', U'ā', U'ł', U'中'}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_EQ(KeypadDigit(c), '\0');
    EXPECT_FALSE(IsUpperCaseLetter(c));
  }
}

TEST(MakeWordEntryTest, SpellsKeepsOrLeavesOutEachKindOfWord) {
  struct Row {
    const char* name;
    std::string utf8;
    Skip skip;
    std::string digits;
    std::string word;  // Windows-1252
    char classLetter;
  };
  const Row rows[] = {
      {"plain word", "help", Skip::kNone, "4357", "help", kWordClass},
      {"proper name", "Aaron", Skip::kNone, "22766", "Aaron", kNameClass},
      {"accented name", "\xC3\x85ngstr\xC3\xB6m", Skip::kNone, "26478766", "\xC5ngstr\xF6m",
       kNameClass},
      {"sharp s",
       "Stra\xC3\x9F"
       "e",
       Skip::kNone, "787273",
       "Stra\xDF"
       "e",
       kNameClass},
      {"ligature above 0x80", "\xC5\x93uvre", Skip::kNone, "68873", "\x9Cuvre", kWordClass},
      {"upper case later only", "eBay", Skip::kNone, "3229", "eBay", kWordClass},
      {"acronym", "ESP", Skip::kAbbreviation, "", "", kWordClass},
      {"acronym plural", "DPs", Skip::kAbbreviation, "", "", kWordClass},
      {"single letter", "D", Skip::kAbbreviation, "", "", kWordClass},
      {"the word a", "a", Skip::kNone, "2", "a", kWordClass},
      {"possessive", "help's", Skip::kNotLetters, "", "", kWordClass},
      {"inner hyphen", "x-ray", Skip::kNotLetters, "", "", kWordClass},
      {"comma", "a,b", Skip::kNotLetters, "", "", kWordClass},
      {"bracket", "ball(s)", Skip::kNotLetters, "", "", kWordClass},
      {"digits", "R2D2", Skip::kNotLetters, "", "", kWordClass},
      {"blank", "ice cream", Skip::kNotLetters, "", "", kWordClass},
      {"Ctrl-Z", "ab\x1A", Skip::kNotLetters, "", "", kWordClass},
      {"letter outside Windows-1252", "M\xC4\x81ori", Skip::kNotCp1252, "", "", kWordClass},
      {"truncated UTF-8", "caf\xC3", Skip::kNotUtf8, "", "", kWordClass},
      {"Latin-1 byte", "caf\xE9", Skip::kNotUtf8, "", "", kWordClass},
      {"overlong UTF-8", "\xC1\x81", Skip::kNotUtf8, "", "", kWordClass},
      {"empty", "", Skip::kEmpty, "", "", kWordClass},
      {"longest that fits", std::string(126, 'a'), Skip::kNone, std::string(126, '2'),
       std::string(126, 'a'), kWordClass},
      {"one letter too long", std::string(127, 'a'), Skip::kTooLong, "", "", kWordClass},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const WordResult result = MakeWordEntry(row.utf8);
    EXPECT_EQ(result.skip, row.skip) << SkipReason(result.skip);
    if (row.skip == Skip::kNone) {
      EXPECT_EQ(result.entry, (Entry{row.digits, row.word, row.classLetter}));
    }
  }
}

TEST(ReadWordListTest, KeepsListOrderAndCountsEachLeftOutLine) {
  const WordList list =
      ReadWordList("\xEF\xBB\xBFhelp\r\nbat\n\nhelp\nhelp's\nHelp\nx-ray\nM\xC4\x81ori\nbat");
  ASSERT_EQ(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0], (Entry{"4357", "help", kWordClass}));
  EXPECT_EQ(list.entries[1], (Entry{"228", "bat", kWordClass}));
  EXPECT_EQ(list.entries[2], (Entry{"4357", "Help", kNameClass}));
  EXPECT_EQ(list.Skipped(Skip::kEmpty).count, 1u);
  EXPECT_EQ(list.Skipped(Skip::kEmpty).firstLine, 3u);
  EXPECT_EQ(list.Skipped(Skip::kDuplicate).count, 2u);
  EXPECT_EQ(list.Skipped(Skip::kDuplicate).firstLine, 4u);
  EXPECT_EQ(list.Skipped(Skip::kNotLetters).count, 2u);
  EXPECT_EQ(list.Skipped(Skip::kNotLetters).firstLine, 5u);
  EXPECT_EQ(list.Skipped(Skip::kNotCp1252).firstLine, 8u);
  EXPECT_EQ(list.Skipped(Skip::kNotUtf8).count, 0u);
}

TEST(ReadAffixListTest, DigitsComeFromTheLettersWithoutTheMarks) {
  const AffixList list = ReadAffixList(
      "# endings\n-ing\n  +less  \r\n\n\t# beginnings\nre-\nover+\n-in-\nd\xC3\xA9-\n");
  EXPECT_TRUE(list.errors.empty());
  const std::vector<Entry> expected = {
      {"464", "-ing", kWordClass},   {"5377", "+less", kWordClass}, {"73", "re-", kWordClass},
      {"6837", "over+", kWordClass}, {"46", "-in-", kWordClass},    {"33", "d\xE9-", kWordClass},
  };
  EXPECT_EQ(list.entries, expected);
}

TEST(ReadAffixListTest, EachBadLineIsNamedAndLeftOut) {
  struct Row {
    const char* line;
    const char* problem;
  };
  const Row rows[] = {
      {"ing", "has no mark"},
      {"-", "must hold letters"},
      {"+-", "must hold letters"},
      {"--ing", "must hold letters"},
      {"-in g", "must hold letters"},
      {"-'s", "must hold letters"},
      {"-\xC4\x81", "must hold letters"},
      {"-caf\xE9", "is not UTF-8"},
      {"-ing", "repeats line 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const AffixList list = ReadAffixList(std::string("-ing\n\n") + row.line + "\nre-\n");
    ASSERT_EQ(list.errors.size(), 1u);
    EXPECT_TRUE(list.errors[0].starts_with("line 3: ")) << list.errors[0];
    EXPECT_NE(list.errors[0].find(row.problem), std::string::npos) << list.errors[0];
    EXPECT_EQ(list.entries.size(), 2u);
  }
}

TEST(MarkCommonnessTest, EachWordTakesTheLetterOfTheFirstBandThatHoldsIt) {
  std::vector<Entry> words;
  for (std::string_view w : {"help", "bat", "gels", "tut", "Tut", "caf\xC3\xA9", "zyx"}) {
    words.push_back(MakeWordEntry(w).entry);
  }
  // "bat" stands in two bands and takes the first; CR LF line ends and a word of the
  // bands that the word list lacks do no harm; "Tut" is a name and stays one.
  const std::vector<std::string> bands = {"help\nbat\n", "bat\r\ncaf\xC3\xA9\r\nTut\r\n",
                                          "gels\nnothere\n"};
  const std::vector<std::size_t> counts = MarkCommonness(words, bands);
  std::string letters;
  for (const Entry& e : words) {
    letters += e.classLetter;
  }
  EXPECT_EQ(letters, "BBEFACF");
  EXPECT_EQ(counts, (std::vector<std::size_t>{2, 1, 1, 2}));
  // With one band, every word in it is common and every other one rare.
  for (Entry& e : words) {
    e.classLetter = e.classLetter == kNameClass ? kNameClass : kWordClass;
  }
  EXPECT_EQ(MarkCommonness(words, {"gels\n"}), (std::vector<std::size_t>{1, 5}));
  EXPECT_EQ(words[2].classLetter, kWordClass);
  EXPECT_EQ(words[0].classLetter, kRareClass);
}

// The suggestions read the letters that the generator writes.
TEST(MarkCommonnessTest, TheEngineReadsTheBandsInTheirOrder) {
  EXPECT_EQ(kWordClass, vantrel::kCommonClass);
  EXPECT_EQ(kFamiliarClass, vantrel::kFamiliarClass);
  EXPECT_EQ(kLessCommonClass, vantrel::kLessCommonClass);
  EXPECT_EQ(kRareClass, vantrel::kRareClass);
  for (std::size_t band = 1; band < kBandClasses.size(); ++band) {
    EXPECT_LT(vantrel::Rarity(kBandClasses[band - 1]), vantrel::Rarity(kBandClasses[band]));
  }
  EXPECT_LT(vantrel::Rarity(kBandClasses.back()), vantrel::Rarity(kRareClass));
  EXPECT_LT(vantrel::Rarity(kRareClass), vantrel::Rarity(kNameClass));
}

TEST(RenderDictionaryTest, WordsThenAffixesThenDigitsThenAnEmptyLine) {
  const std::string file = RenderDictionary(
      {{"4357", "help", kWordClass}, {"4357", "Help", kNameClass}}, {{"464", "-ing", kWordClass}});
  EXPECT_EQ(file,
            "4357,help,B\r\n4357,Help,A\r\n464,-ing,B\r\n"
            "0,0,D\r\n1,1,D\r\n2,2,D\r\n3,3,D\r\n4,4,D\r\n"
            "5,5,D\r\n6,6,D\r\n7,7,D\r\n8,8,D\r\n9,9,D\r\n\r\n");
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::path(::testing::TempDir()) /
        ("gendict-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_F(FileTest, WrittenFileReadsBackByteForByteAndReplacesTheOldOne) {
  const std::string path = (folder_ / "Vantrel Dictionary.txt").string();
  ASSERT_EQ(WriteFileReplacing(path, "old"), Status());
  const std::string bytes("4357,help,B\r\n\x1A\0\xFF", 16);
  ASSERT_EQ(WriteFileReplacing(path, bytes), Status());
  std::string read;
  ASSERT_EQ(ReadFile(path, read), Status());
  EXPECT_EQ(read, bytes);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(FileTest, FailuresNameThePathAndLeaveNothingBehind) {
  const std::string missing = (folder_ / "no such folder" / "out.txt").string();
  const Status written = WriteFileReplacing(missing, "4357,help,B\r\n");
  EXPECT_EQ(written.Code(), StatusCode::kCannotOpen);
  EXPECT_EQ(written.Reason().find("cannot write " + missing + ": "), 0U) << written.Reason();
  EXPECT_TRUE(std::filesystem::is_empty(folder_));

  std::string contents = "stale";
  const Status read = ReadFile(missing, contents);
  EXPECT_EQ(read, Status(StatusCode::kCannotOpen,
                         "cannot open " + missing + ": No such file or directory"));
  EXPECT_EQ(contents, "");

  const Status folder = ReadFile(folder_.string(), contents);
  EXPECT_EQ(folder.Code(), StatusCode::kReadFailed) << folder.Reason();
  EXPECT_EQ(contents, "");
}

}  // namespace
}  // namespace vantrel::gendict
