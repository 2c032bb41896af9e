// SPDX-License-Identifier: GPL-3.0-or-later
// The number search through the main window's engine: modes, clamps, italics and the
// status line.

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>
#include <tuple>

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

// What a search lists: each row's word, digits and italics, and the row count.
struct Listing {
  std::vector<std::tuple<std::string, std::string, bool>> rows;
  int rowCount = 0;
  bool operator==(const Listing&) const = default;
};

Listing ListingOf(const CellTable& candidates) {
  Listing listing;
  for (int row = 1; row < candidates.RowCount() && !candidates.Cell(0, row).empty(); ++row) {
    listing.rows.emplace_back(candidates.Cell(0, row), candidates.Cell(1, row),
                              candidates.Italic(0, row));
  }
  listing.rowCount = candidates.RowCount();
  return listing;
}

// Polls the search under way to its end, as the window's timer does.
void FinishSearch(MainModel& searching) {
  while (searching.PollSearch()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// The status line up to the time, which a search on a thread measures on its own clock.
std::string CountsOf(const MainModel& searched) {
  const std::string status = Render(searched.StatusMessage(), nullptr);
  return status.substr(0, status.find(" in "));
}

TEST_F(SearchTest, ALargeDictionaryIsSearchedOnAThreadAndListsTheSameAsAtOnce) {
  std::vector<std::string> lines;
  for (int i = 0; i < 5005; ++i) {
    lines.push_back("2,w" + std::to_string(i) + (i == 5001 ? ",A" : ",B"));
  }
  files.files["many.txt"] = Dict(lines);
  struct Case {
    const char* file;
    const char* number;
    SearchMode mode;
  };
  const Case cases[] = {
      {"dict.txt", "1-800-356-9377", SearchMode::kAnyPoint},
      {"dict.txt", "18003569377", SearchMode::kRight},
      {"dict.txt", "4357", SearchMode::kAnyPoint},  // help is class A: italic
      {"dict.txt", "0", SearchMode::kLeft},         // nothing found
      {"many.txt", "2", SearchMode::kAnyPoint},     // more than the grid's rows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.number);
    dictionary.Bind(c.file);
    files.claimedSize = 0;
    Search(c.number, c.mode);
    const Listing atOnce = ListingOf(model.Candidates());
    const std::string counts = CountsOf(model);
    ASSERT_FALSE(model.Searching());
    // The size at which a dictionary counts as large, and just below it.
    for (const long long size : {MainModel::kAwaySearchBytes, MainModel::kAwaySearchBytes - 1}) {
      files.claimedSize = size;
      const int starts = host.searchStarts;
      model.SetEntryText(c.number);
      model.Search();
      const bool away = size >= MainModel::kAwaySearchBytes;
      EXPECT_EQ(model.Searching(), away);
      EXPECT_EQ(host.searchStarts, starts + (away ? 1 : 0));
      if (away) {
        EXPECT_TRUE(Listed(model).empty());  // nothing of the last search is left to pick
        EXPECT_TRUE(
            Render(model.StatusMessage(), nullptr).starts_with("Searching the dictionary: "));
      }
      FinishSearch(model);
      EXPECT_FALSE(model.Searching());
      EXPECT_EQ(ListingOf(model.Candidates()), atOnce);
      EXPECT_EQ(CountsOf(model), counts);
    }
  }
  EXPECT_TRUE(host.warnings.empty());
}

// A dictionary that never ends, of a size that makes the search run on a thread: a search
// of it ends only when it is stopped.
class EndlessSource final : public ByteSource {
 public:
  explicit EndlessSource(std::atomic<long long>& bytesRead) : bytesRead_(bytesRead) {}
  long Read(char* buffer, std::size_t size) override {
    static constexpr std::string_view kLine = "4357,help,A\r\n";
    const std::size_t n = std::min<std::size_t>(size, 4096) / kLine.size() * kLine.size();
    for (std::size_t at = 0; at < n; at += kLine.size()) {
      std::copy(kLine.begin(), kLine.end(), buffer + at);
    }
    bytesRead_ += static_cast<long long>(n);
    return static_cast<long>(n);
  }
  long long Size() const override { return kSize; }
  static constexpr long long kSize = MainModel::kAwaySearchBytes;

 private:
  std::atomic<long long>& bytesRead_;
};

class EndlessSearchTest : public ::testing::Test {
 protected:
  // Starts a search of the endless dictionary and waits until it has read a megabyte.
  void StartSearch(const std::string& number) {
    read = 0;
    model.SetEntryText(number);
    model.Search();
    ASSERT_TRUE(model.Searching());
    while (read < (1 << 20)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::atomic<long long> read{0};
  DictionaryFile dictionary{[this](const std::string&) -> std::unique_ptr<ByteSource> {
    return std::make_unique<EndlessSource>(read);
  }};
  RecordingHost host;
  MainModel model{dictionary, host};
};

TEST_F(EndlessSearchTest, TheStatusLineShowsHowFarTheSearchHasGot) {
  StartSearch("4357");
  const std::string started = Render(model.StatusMessage(), nullptr);
  EXPECT_TRUE(started.starts_with("Searching the dictionary: ")) << started;
  EXPECT_TRUE(started.ends_with(" % (Esc or Convert stops the search)")) << started;
  // Past the size the file had when it was opened, the search is not done yet.
  while (read < 2 * EndlessSource::kSize) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(model.PollSearch());
  EXPECT_EQ(Render(model.StatusMessage(), nullptr),
            "Searching the dictionary: 99 % (Esc or Convert stops the search)");
  model.StopSearch();
}

// Each way the search under way ends before its end: stopped by the user, or made
// pointless by a change to the number. The thread ends at once (the dictionary never
// ends), and nothing it found is listed afterwards.
TEST_F(EndlessSearchTest, AStopOrAChangeOfTheNumberEndsTheSearchUnderWay) {
  struct Case {
    const char* name;
    std::function<void()> end;
    const char* status;
  };
  const Case cases[] = {
      {"stopped", [this] { model.StopSearch(); }, "The search was stopped."},
      {"number typed", [this] { model.TypeNumber("43"); }, ""},
      {"number cleared", [this] { model.ClearNumber(); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(StartSearch("4357"));
    c.end();
    EXPECT_FALSE(model.Searching());
    EXPECT_FALSE(model.PollSearch());
    EXPECT_EQ(Render(model.StatusMessage(), nullptr), c.status);
    EXPECT_TRUE(model.Candidates().Cell(0, 1).empty());
  }
  // A stop with no search under way says nothing.
  model.StopSearch();
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), "");
  EXPECT_TRUE(host.warnings.empty());
}

// A phrase put aside while the search after its last word ran comes back with that
// search running again: it would otherwise come back with an empty list and the progress
// of a search that no longer runs.
TEST_F(EndlessSearchTest, APhraseTakenBackWhileItsSearchRanIsSearchedAgain) {
  model.ResumeNumber();  // the field's first focus gives the phrase its empty slots
  model.SetEntryText("4357");
  ASSERT_TRUE(model.PlaceWord({"help", "4357", 1}));  // searches what is left: endless
  ASSERT_TRUE(model.Searching());
  model.ResumeNumber();
  EXPECT_FALSE(model.Searching());
  ASSERT_TRUE(model.TakeBackPhrase());
  EXPECT_TRUE(model.Searching());
  EXPECT_TRUE(Render(model.StatusMessage(), nullptr).starts_with("Searching the dictionary: "));
  EXPECT_EQ(model.Phrase().Cell(0, 1), "help");
  model.StopSearch();
}

TEST_F(SearchTest, ASearchOnAThreadThatFailsKeepsWhatItFoundAndSaysSo) {
  std::vector<std::string> lines(200, "2,two,B");
  files.files["dict.txt"] = Dict(lines);
  files.chunk = 100;
  files.failAt = 1000;
  files.claimedSize = MainModel::kAwaySearchBytes;
  model.SetEntryText("2");
  model.Search();
  ASSERT_TRUE(model.Searching());
  FinishSearch(model);
  EXPECT_EQ(host.warnings, (std::vector<std::string>{"Error Reading Dictionary dict.txt"}));
  EXPECT_EQ(Listed(model).size(), 111u);  // as a search on the window's thread keeps
  EXPECT_TRUE(model.StatusMessage().empty());
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
