// SPDX-License-Identifier: GPL-3.0-or-later
// The number search through the main window's engine: modes, clamps, italics and the
// status line.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <random>

#include "Fakes.h"
#include "MainModel.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::MemoryFiles;
using testing::RecordingHost;

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.files["dict.txt"] = Dict({
        "1,1,D",
        "8,8,D",
        "800,tuu,B",
        "356,elk,B",
        "9377,wees,B",
        "377,err,B",
        "77,ss,B",
        "7,s,B",
        "3569377,flowers,B",
        "4357,help,A",
        "22,aa,B",
        "68437,over+,B",
        "464,-ing,B",
        "73,re-,B",
        "7,+s,B",
        "(x)356,note,B",
    });
    dictionary.Bind("dict.txt");
    dictionary.name = "dict.txt";
  }

  std::vector<std::string> Listed(MainModel& searched) {
    std::vector<std::string> out;
    for (int row = 1; row < searched.Candidates().RowCount(); ++row) {
      if (!searched.Candidates().Cell(0, row).empty()) {
        out.push_back(searched.Candidates().Cell(0, row));
      }
    }
    return out;
  }

  std::vector<std::string> Search(const std::string& number, SearchMode mode) {
    model.SetEntryText(number);
    model.SetMode(mode);
    model.Search();
    return Listed(model);
  }

  MemoryFiles files;
  DictionaryFile dictionary{files.Opener()};
  RecordingHost host;
  MainModel model{dictionary, host};
};

using Words = std::vector<std::string>;

TEST_F(SearchTest, TheThreeModesOnANumberWithSeparators) {
  EXPECT_EQ(Search("1-800-356-9377", SearchMode::kLeft), (Words{"1"}));
  EXPECT_EQ(Search("1-800-356-9377", SearchMode::kRight), (Words{"wees", "err", "ss", "s"}));
  EXPECT_EQ(Search("1-800-356-9377", SearchMode::kAnyPoint),
            (Words{"1", "8", "tuu", "elk", "wees", "err", "ss", "s"}));
  // Without separators a word may run across the former groups.
  EXPECT_EQ(Search("18003569377", SearchMode::kRight),
            (Words{"wees", "err", "ss", "s", "flowers"}));
}

TEST_F(SearchTest, AWordIsListedOncePerLineNotPerOccurrence) {
  for (SearchMode mode : {SearchMode::kLeft, SearchMode::kRight, SearchMode::kAnyPoint}) {
    EXPECT_EQ(Search("2222", mode), (Words{"aa"}));
  }
}

TEST_F(SearchTest, AffixEntriesAreNoWordsButOverPlusIs) {
  EXPECT_EQ(Search("6843746473", SearchMode::kAnyPoint), (Words{"8", "s", "over"}));
}

// The rule the candidate list, the affix offers and the phrase share.
TEST(CandidateWordTest, AffixMarksDecideAndPlusMarksAreDropped) {
  const struct {
    const char* field;
    bool candidate;
    const char* shown;
  } rows[] = {
      {"ball", true, "ball"},  {"over+", true, "over"}, {"a+b+", true, "ab"},
      {"-ing", false, "-ing"}, {"+one", false, "one"},  {"re-", false, "re-"},
      {"-in-", false, "-in-"}, {"+", false, ""},        {"", false, ""},
      {"x-y", true, "x-y"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.field);
    EXPECT_EQ(IsCandidateWord(row.field), row.candidate);
    EXPECT_EQ(WithoutPlus(row.field), row.shown);
  }
}

TEST_F(SearchTest, TheQuickTestReadsTheLineBeforeItsBracketsAreRemoved) {
  // "(x)356" does not occur in the number, so the note line is never a candidate.
  EXPECT_EQ(Search("356", SearchMode::kAnyPoint), (Words{"elk"}));
}

TEST_F(SearchTest, NumbersWithoutFreeDigitsFindNothingButCountEveryWord) {
  for (const std::string number : {"", "abc", "\x95\x95\x95-\x95"}) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(Search(number, SearchMode::kAnyPoint).empty());
    EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 0 Matches out of 15 words in  secs");
  }
}

TEST_F(SearchTest, ClassAItalicsAreTakenOffByTheNextSearch) {
  EXPECT_EQ(Search("4357", SearchMode::kAnyPoint), (Words{"s", "help"}));
  EXPECT_FALSE(model.Candidates().Italic(0, 1));
  EXPECT_TRUE(model.Candidates().Italic(0, 2));
  EXPECT_FALSE(model.Candidates().Italic(1, 2));
  EXPECT_EQ(Search("77", SearchMode::kAnyPoint), (Words{"ss", "s"}));
  EXPECT_FALSE(model.Candidates().Italic(0, 2));
}

TEST_F(SearchTest, StatusLineCountsWordsAndFormatsTheTime) {
  host.tick = 0.5;  // each clock reading half a second later
  Search("228", SearchMode::kAnyPoint);
  // 17 lines in the file, 16 examined, counted from -1.
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 2 Matches out of 15 words in .5 secs");
  host.translate = true;
  EXPECT_EQ(Render(model.StatusMessage(), [&](std::string_view s) { return host.Translate(s); }),
            " 2[ Matches out of ]15[ words in ].5[ secs]");
  host.tick = 12.3456;
  host.separator = ',';
  Search("228", SearchMode::kAnyPoint);
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 2 Matches out of 15 words in 12,346 secs");
}

TEST_F(SearchTest, EmptyAndOneLineDictionaries) {
  files.files["dict.txt"] = "";
  Search("1", SearchMode::kAnyPoint);
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 0 Matches out of -1 words in  secs");
  files.files["dict.txt"] = "1,1,D\r\n";
  Search("1", SearchMode::kAnyPoint);
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 0 Matches out of -1 words in  secs");
}

TEST_F(SearchTest, MoreThan4999MatchesOverwriteTheLastRow) {
  std::vector<std::string> lines;
  for (int i = 0; i < 5005; ++i) {
    lines.push_back("2,w" + std::to_string(i) + (i == 5001 ? ",A" : ",B"));
  }
  files.files["dict.txt"] = Dict(lines);
  Search("2", SearchMode::kAnyPoint);
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 4999 Matches out of 5004 words in  secs");
  EXPECT_EQ(model.Candidates().RowCount(), 5000);
  EXPECT_EQ(model.Candidates().Cell(0, 4998), "w4997");
  EXPECT_EQ(model.Candidates().Cell(0, 4999), "w5004");
  // The italics of an earlier match written to the last row stay.
  EXPECT_TRUE(model.Candidates().Italic(0, 4999));
}

TEST_F(SearchTest, TheGridKeepsAtLeast24DataRows) {
  Search("4357", SearchMode::kAnyPoint);
  EXPECT_EQ(model.Candidates().RowCount(), 25);
  model.TypeNumber("1");
  EXPECT_EQ(model.Candidates().RowCount(), 5000);  // cleared for a search to come
  EXPECT_TRUE(model.Candidates().Cell(0, 1).empty());
}

TEST_F(SearchTest, ADictionaryThatCannotBeOpenedLeavesAnEmptyListAndNoStatus) {
  Search("4357", SearchMode::kAnyPoint);
  files.files.erase("dict.txt");  // the file disappeared between two searches
  Search("4357", SearchMode::kAnyPoint);
  EXPECT_EQ(host.warnings, (std::vector<std::string>{"Can Not Open dict.txt in ConvertBtnClick"}));
  EXPECT_TRUE(model.StatusMessage().empty());
  EXPECT_EQ(model.Candidates().RowCount(), 5000);
  EXPECT_TRUE(model.Candidates().Cell(0, 1).empty());
  EXPECT_EQ(host.busyChanges, (std::vector<bool>{true, false}));  // only the first search
}

TEST_F(SearchTest, AReadFailureKeepsWhatWasFoundAndPutsThePointerBackFirst) {
  std::vector<std::string> lines(200, "2,two,B");
  files.files["dict.txt"] = Dict(lines);
  files.chunk = 100;
  files.failAt = 1000;
  bool busyAtWarning = true;
  struct Host : RecordingHost {
    bool* busyAtWarning;
    void Warn(const Message& message) override {
      *busyAtWarning = busyNow;
      RecordingHost::Warn(message);
    }
  };
  Host failing;
  failing.busyAtWarning = &busyAtWarning;
  MainModel other(dictionary, failing);
  other.SetEntryText("2");
  other.Search();
  EXPECT_EQ(failing.warnings, (std::vector<std::string>{"Error Reading Dictionary dict.txt"}));
  EXPECT_FALSE(busyAtWarning);
  EXPECT_EQ(Listed(other).size(), 111u);  // 1000 bytes of 9-byte lines, less the last one
  EXPECT_TRUE(other.StatusMessage().empty());
  EXPECT_EQ(other.Candidates().RowCount(), 5000);
}

TEST_F(SearchTest, ConvertAndCopyFollowTheFreeDigits) {
  struct Row {
    std::string entry;
    std::string firstPhraseWord;
    bool convert;
    bool copy;
  };
  const Row rows[] = {
      {"228", "", true, false},
      {"\x95\x95\x95", "bat", false, true},
      {"\x95\x95-1", "bat", true, false},
      {"   ", "bat", false, false},
      {"\x95\x95\x95", "  ", false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry);
    model.SetEntryText(row.entry);
    model.TablesForGrids().phrase.SetCell(0, 1, row.firstPhraseWord);
    model.UpdateConvertButton();
    model.ClearCandidates();
    EXPECT_EQ(model.ConvertEnabled(), row.convert);
    EXPECT_EQ(model.CopyEnabled(), row.copy);
  }
}

TEST(SearchFileTest, ADictionaryFileThatShrinksOrVanishesBetweenSearches) {
  const std::string path = ::testing::TempDir() + "/shrinking-" + std::to_string(::getpid());
  auto write = [&](const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  };
  write(Dict({"228,bat,B", "4357,help,A", "8,8,D"}));
  DictionaryFile dictionary;
  dictionary.Bind(path);
  dictionary.name = path;
  RecordingHost host;
  MainModel model(dictionary, host);
  model.SetEntryText("228-4357");
  model.Search();
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 3 Matches out of 2 words in  secs");
  write("228,bat,B\r\n4357,he");  // cut off in the middle of a line
  model.Search();
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), " 1 Matches out of 0 words in  secs");
  EXPECT_EQ(model.Candidates().Cell(0, 1), "bat");
  EXPECT_TRUE(model.Candidates().Cell(0, 2).empty());
  std::remove(path.c_str());
  model.Search();
  EXPECT_EQ(host.warnings,
            (std::vector<std::string>{"Can Not Open " + path + " in ConvertBtnClick"}));
}

TEST(FormatSecondsTest, FollowsThePatternWithOptionalDigits) {
  struct Row {
    double seconds;
    const char* expected;
  };
  const Row rows[] = {
      {0.5, ".5"},      {12.0, "12"}, {12.3456, "12.346"}, {0.0004, ""},     {0.0, ""},
      {0.0006, ".001"}, {1.2, "1.2"}, {0.01, ".01"},       {123.4, "123.4"}, {9.9999, "10"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.seconds);
    EXPECT_EQ(FormatSeconds(row.seconds, '.'), row.expected);
  }
  EXPECT_EQ(FormatSeconds(1.25, ','), "1,25");
}

TEST(SubstringMatcherTest, AgreesWithAPlainSearch) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digit(0, 4);
  for (int round = 0; round < 200; ++round) {
    std::string number;
    const int length = round % 40;
    for (int i = 0; i < length; ++i) {
      number += static_cast<char>(i % 9 == 8 ? '-' : '0' + digit(random));
    }
    const SubstringMatcher matcher(number);
    for (int probe = 0; probe < 50; ++probe) {
      std::string text;
      const int textLength = 1 + probe % 6;
      for (int i = 0; i < textLength; ++i) {
        text += static_cast<char>('0' + digit(random));
      }
      ASSERT_EQ(matcher.Contains(text), number.find(text) != std::string::npos)
          << number << " / " << text;
    }
    // Every substring of the number itself is found.
    for (std::size_t from = 0; from < number.size(); ++from) {
      ASSERT_TRUE(matcher.Contains(number.substr(from, 5)));
    }
  }
}

}  // namespace
}  // namespace vantrel
