// SPDX-License-Identifier: GPL-3.0-or-later
#include "DictionaryGenerator.h"

#include "Suggest.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>
#include <utility>
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
      // 124 letters: "digits,word,B,99" is 255 characters, the most a line is read with.
      {"longest that fits with its figure", std::string(124, 'a'), Skip::kNone,
       std::string(124, '2'), std::string(124, 'a'), kWordClass},
      {"one letter too long", std::string(125, 'a'), Skip::kTooLong, "", "", kWordClass},
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
    EXPECT_EQ(list.errors[0].Code(), StatusCode::kMalformed) << list.errors[0];
    EXPECT_TRUE(list.errors[0].Reason().starts_with("line 3: ")) << list.errors[0];
    EXPECT_NE(list.errors[0].Reason().find(row.problem), std::string::npos) << list.errors[0];
    EXPECT_EQ(list.entries.size(), 2u);
  }
}

// A small model in the form of Onboard's: the special tokens, a blank line before the
// next section, and 2-grams that repeat words of the 1-grams.
constexpr std::string_view kModel =
    "\n\\data\\\r\nngram 1=9\r\nngram 2=2\r\n\r\n\\1-grams:\r\n"
    "1 <unk>\r\n7 <s>\r\n7 </s>\r\n40 <num>\r\n"
    "500 the\r\n120 help\r\n30 Help\r\n9\tAMT\r\n4 \xC3\xA9t\xC3\xA9\r\n\r\n"
    "\\2-grams:\r\n300 the help\r\n2 help the\r\n\r\n\\end\\\r\n";

TEST(ReadWordCountsTest, CountsTheWordsOfTheFirstSectionAlone) {
  WordCounts counts;
  ASSERT_EQ(ReadWordCounts(kModel, counts), Status());
  const std::unordered_map<std::string, std::uint64_t> expected = {
      {"the", 500}, {"help", 120}, {"Help", 30}, {"AMT", 9}, {"\xC3\xA9t\xC3\xA9", 4}};
  EXPECT_EQ(counts.occurrences, expected);
  EXPECT_EQ(counts.total, 663U);
}

TEST(ReadWordCountsTest, EachMalformedFileIsRefusedWithItsLine) {
  const std::string head = "\\data\\\nngram 1=2\n\n\\1-grams:\n5 the\n";  // the bad line is 6
  struct Row {
    const char* name;
    std::string text;
    const char* reason;
  };
  const Row rows[] = {
      {"letters for a count", head + "x cat\n", "line 6: \"x cat\" is not a count and a word"},
      {"no word", head + "5\n", "line 6: \"5\" is not a count and a word"},
      {"blank for a word", head + "5 \n", "line 6: \"5 \" is not a count and a word"},
      {"three fields", head + "5 ice cream\n", "line 6: \"5 ice cream\" is not a count"},
      {"negative count", head + "-5 cat\n", "line 6: \"-5 cat\" is not a count"},
      {"log probability of a plain ARPA model", head + "-1.25 cat -0.5\n",
       "line 6: \"-1.25 cat -0.5\" is not a count"},
      {"count beyond 64 bits", head + "99999999999999999999 cat\n", "line 6: \"9999"},
      {"counts adding up beyond 64 bits", head + "18446744073709551615 cat\n",
       "line 6: the counts add up to more than can be held"},
      {"Latin-1 word", head + "5 caf\xE9\n", "line 6: the word is not UTF-8 text"},
      {"word counted twice", head + "5 the\n", "line 6: \"the\" repeats line 5"},
      {"word list instead of a model", "\nhelp\nbat\n",
       "line 2: a language model starts with \"\\data\\\""},
      {"empty", "\n\n", "empty; a language model was expected"},
      {"no 1-grams", "\\data\\\nngram 1=2\n", "no \"\\1-grams:\" section"},
      {"bad number of words", "\\data\\\nngram 1=two\n\\1-grams:\n5 the\n",
       "line 2: \"ngram 1=two\" is not a number of words"},
      {"cut short", head + "\\2-grams:\n", "the header announces 2 words, the file holds 1"},
      {"special tokens alone", "\\data\\\n\\1-grams:\n3 <s>\n3 </s>\n", "no word is counted"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WordCounts counts;
    counts.total = 1;
    const Status status = ReadWordCounts(row.text, counts);
    EXPECT_EQ(status.Code(), StatusCode::kMalformed);
    EXPECT_EQ(status.Reason().find(row.reason), 0U) << status.Reason();
    EXPECT_TRUE(counts.occurrences.empty());
    EXPECT_EQ(counts.total, 0U);
  }
}

TEST(CountWordTest, LowerCaseWordsAlsoCountTheirCapitalisedFormNeverTheAcronym) {
  WordCounts counts;
  counts.occurrences = {
      {"help", 10},
      {"Help", 3},
      {"HELP", 100},
      {"Amt", 5},
      {"AMT", 50},
      {"\xC3\xA9t\xC3\xA9", 4},
      {"\xC3\x89t\xC3\xA9", 2},
      {"\xC5\x93uvre", 1},
      {"\xC5\x92uvre", 6},
      {"eBay", 7},
      {"EBay", 9},
      {"Aaron", 8},
      {"aaron", 2},
      {"a", 20},
      {"A", 5},
      {"\xC3\xBF"
       "a",
       1},
      {"\xC5\xB8"
       "a",
       2},
  };
  counts.total = 1000;
  const std::vector<std::pair<std::string, std::uint64_t>> rows = {
      {"help", 13},              // its own and the sentence start, not HELP
      {"amt", 5},                // Amt only, never the acronym AMT
      {"AMT", 50},               // an all-capitals word is counted as it is spelled
      {"\xC3\xA9t\xC3\xA9", 6},  // été and Été
      {"\xC5\x93uvre", 7},       // œuvre and Œuvre, the capital outside Latin-1
      {"\xC3\xBF"
       "a",
       3},           // ÿ capitalises to Ÿ (U+0178)
      {"eBay", 7},   // a capital inside: its own spelling alone
      {"Aaron", 8},  // a name does not take the lower-case word
      {"a", 25},     // one letter: its capital is the sentence start
      {"zyx", 0},
  };
  for (const auto& [word, expected] : rows) {
    SCOPED_TRACE(word);
    EXPECT_EQ(CountWord(counts, word), expected);
  }
}

TEST(CommonnessFigureTest, TenTimesTheZipfValueRoundedAndClamped) {
  struct Row {
    std::uint64_t occurrences;
    std::uint64_t total;
    int figure;
  };
  const Row rows[] = {
      {1, 1'000'000'000, 0},      // once per billion: Zipf 0
      {10, 1'000'000'000, 10},    //
      {1000, 2'000'000'000, 27},  // 500 per billion: 26.99
      {2818, 1'000'000'000, 34},  // 34.4994 rounds down
      {2819, 1'000'000'000, 35},  // 34.5009 rounds up
      {1, 1, 90},                 // every word the same
      {9, 1, 99},                 // 99.54 would round to 100
      {1, 10'000'000'000, 0},     // Zipf -1
      {0, 1'000'000'000, kNoCommonness},
      {5, 0, kNoCommonness},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.occurrences << " of " << row.total);
    EXPECT_EQ(CommonnessFigure(row.occurrences, row.total), row.figure);
  }
}

TEST(CommonnessClassTest, EachBandStartsAtItsThreshold) {
  const std::vector<std::pair<int, char>> rows = {
      {99, kWordClass},       {40, kWordClass},       {39, kFamiliarClass}, {30, kFamiliarClass},
      {29, kLessCommonClass}, {22, kLessCommonClass}, {21, kRareClass},     {0, kRareClass},
  };
  for (const auto& [figure, letter] : rows) {
    SCOPED_TRACE(figure);
    EXPECT_EQ(CommonnessClass(figure), letter);
  }
  // The bands run from the most common down, the last one taking everything left.
  for (std::size_t band = 1; band < kBands.size(); ++band) {
    EXPECT_GT(kBands[band - 1].from, kBands[band].from);
  }
  EXPECT_EQ(kBands.back().from, 0);
}

TEST(MarkCommonnessTest, CountedWordsTakeTheirFigureTheOthersAnEstimate) {
  WordCounts counts;
  ASSERT_EQ(ReadWordCounts(kModel, counts), Status());
  struct Row {
    const char* word;  // UTF-8
    int withBands;     // figure with the size bands
    int without;       // figure with no size bands
  };
  // help occurs 150 times in 663 words: 10 * log10(150e9 / 663) = 83.5; été 4 times: 67.8.
  const Row rows[] = {
      {"help", 84, 84},
      {"\xC3\xA9t\xC3\xA9", 68, 68},
      {"Help", 77, 77},  // a counted name keeps its letter and gets its figure
      {"Amt", kUnseenRareFigure, kUnseenRareFigure},      // AMT is no count of the name Amt
      {"bat", kUnseenFigures[0], kUnseenUnrankedFigure},  // in both size bands: the first
      {"gels", kUnseenFigures[1], kUnseenUnrankedFigure},
      {"zyx", kUnseenRareFigure, kUnseenUnrankedFigure},
      {"hmm", kUnseenRareFigure, kUnseenRareFigure},  // no vowel: never above the rarest
  };
  const std::vector<std::string> bands = {"bat\r\nnothere\r\n", "gels\nbat\n"};
  for (const bool withBands : {true, false}) {
    SCOPED_TRACE(withBands ? "with size bands" : "without");
    std::vector<Entry> words;
    for (const Row& row : rows) {
      words.push_back(MakeWordEntry(row.word).entry);
    }
    const std::vector<Entry> before = words;
    const CommonnessTally tally =
        MarkCommonness(words, counts, withBands ? bands : std::vector<std::string>{});
    std::array<std::size_t, kBands.size()> perBand{};
    for (std::size_t i = 0; i < words.size(); ++i) {
      SCOPED_TRACE(rows[i].word);
      const int figure = withBands ? rows[i].withBands : rows[i].without;
      EXPECT_EQ(words[i].commonness, figure);
      if (before[i].classLetter == kNameClass) {
        EXPECT_EQ(words[i].classLetter, kNameClass);
      } else {
        EXPECT_EQ(words[i].classLetter, CommonnessClass(figure));
        for (std::size_t band = 0; band < kBands.size(); ++band) {
          perBand[band] += kBands[band].classLetter == words[i].classLetter ? 1 : 0;
        }
      }
    }
    EXPECT_EQ(tally.counted, 3U);
    EXPECT_EQ(tally.estimated, 4U);
    EXPECT_EQ(tally.namesUncounted, 1U);
    EXPECT_EQ(tally.perBand, perBand);
  }
}

TEST(MarkCommonnessTest, AWordWithoutAVowelIsAnAbbreviationOrASound) {
  for (const char* word : {"km", "Mr", "hmm", "ts", "\xE7\xF1", "", "B2"}) {
    EXPECT_FALSE(HasVowel(word)) << word;
  }
  for (const char* word : {"a", "gym", "Yb", "\xE9t\xE9",
                           "\xDC"
                           "ber",
                           "\x9C"
                           "uf",
                           "s\xFF"}) {
    EXPECT_TRUE(HasVowel(word)) << word;
  }
}

// The figures for words the counts lack sit below every counted word of the bundled
// models (the rarest is 27) and each in the band its comment gives it.
TEST(MarkCommonnessTest, EstimatesStayBelowTheCountedWordsInTheirBands) {
  EXPECT_EQ(CommonnessClass(kUnseenFigures[0]), kLessCommonClass);
  EXPECT_EQ(CommonnessClass(kUnseenFigures[1]), kRareClass);
  EXPECT_EQ(CommonnessClass(kUnseenRareFigure), kRareClass);
  EXPECT_EQ(CommonnessClass(kUnseenUnrankedFigure), kRareClass);
  EXPECT_LT(kUnseenFigures[0], 27);
  EXPECT_GT(kUnseenFigures[0], kUnseenFigures[1]);
  EXPECT_GT(kUnseenFigures[1], kUnseenUnrankedFigure);
  EXPECT_GT(kUnseenUnrankedFigure, kUnseenRareFigure);
}

// The suggestions read the figures that the generator writes, and on a line without one
// take a figure from the class letter: that figure must fall in the letter's band.
TEST(MarkCommonnessTest, TheEngineReadsTheBandsAsTheGeneratorWritesThem) {
  EXPECT_EQ(kBands[0].from, vantrel::kCommonWord);
  EXPECT_EQ(kBands[1].from, vantrel::kFamiliarWord);
  EXPECT_EQ(kBands[2].from, vantrel::kRareWord);
  EXPECT_EQ(kNameClass, vantrel::kProperNameClass);
  for (const Band& band : kBands) {
    SCOPED_TRACE(std::string(1, band.classLetter));
    EXPECT_EQ(CommonnessClass(vantrel::ClassCommonness(band.classLetter)), band.classLetter);
  }
}

TEST(RenderDictionaryTest, WordsThenAffixesThenDigitsThenAnEmptyLine) {
  const std::string file = RenderDictionary({{"4357", "help", kWordClass, 53},
                                             {"4357", "Help", kNameClass, 0},
                                             {"4357", "Gels", kNameClass, kNoCommonness},
                                             {"4357", "gels", kLessCommonClass, 99}},
                                            {{"464", "-ing", kWordClass, kNoCommonness}});
  EXPECT_EQ(file,
            "4357,help,B,53\r\n4357,Help,A,0\r\n4357,Gels,A\r\n4357,gels,E,99\r\n464,-ing,B\r\n"
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

  std::string Write(const std::string& name, std::string_view contents) const {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }
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

// The tool itself: a counts file it cannot use stops it before anything is written, and
// its message names the file.
TEST_F(FileTest, GendictRefusesAMissingOrMalformedCountsFile) {
  const std::string words = Write("words", "help\nflowers\n");
  const std::string output = (folder_ / "out.txt").string();
  const std::string keptOutput = Write("kept.txt", "4357,help,B\r\n\r\n");
  struct Row {
    const char* name;
    std::string counts;
    const char* problem;
  };
  const Row rows[] = {
      {"missing", (folder_ / "no such model.lm").string(), ": No such file or directory"},
      {"malformed", Write("bad.lm", "\\data\\\n\\1-grams:\n5 help\nmany flowers\n"),
       ": line 4: \"many flowers\" is not a count and a word"},
      {"cut short", Write("short.lm", "\\data\\\nngram 1=3\n\\1-grams:\n5 help\n"),
       ": the header announces 3 words, the file holds 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const std::string& out : {output, keptOutput}) {
      const std::string command = std::string("'") + VANTREL_GENDICT + "' --words '" + words +
                                  "' --counts '" + row.counts + "' --output '" + out + "' 2>&1";
      std::FILE* pipe = popen(command.c_str(), "r");
      ASSERT_NE(pipe, nullptr);
      std::string message;
      char buffer[512];
      while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        message += buffer;
      }
      const int status = pclose(pipe);
      ASSERT_TRUE(WIFEXITED(status)) << message;
      EXPECT_EQ(WEXITSTATUS(status), 1) << message;
      EXPECT_NE(message.find(row.counts + row.problem), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::exists(output));
    std::string kept;
    ASSERT_EQ(ReadFile(keptOutput, kept), Status());
    EXPECT_EQ(kept, "4357,help,B\r\n\r\n");
  }
}

}  // namespace
}  // namespace vantrel::gendict
