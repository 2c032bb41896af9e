// SPDX-License-Identifier: GPL-3.0-or-later
// Picking candidates into the number, removing them, and the texts that come out.

#include <gtest/gtest.h>

#include <functional>

#include "Fakes.h"
#include "MainModel.h"
#include "Suggest.h"

namespace vantrel {
namespace {

using testing::RecordingHost;
using testing::Words;

const std::string B3 = "\x95\x95\x95";

class PhraseTest : public ::testing::Test, protected testing::MemoryDictionary {
 protected:
  void SetUp() override {
    UseDictionary({"1,1,D", "8,8,D", "800,tuu,B", "356,elk,B", "9377,wees,B", "377,err,B",
                   "77,ss,B", "7,s,B", "228,bat,B", "4357,help,A", "2,a,B", "0,0,D"});
    model.ResumeNumber();  // the field gets the focus when the window first shows
  }

  void Type(const std::string& number) {
    model.TypeNumber(number);
    model.Search();
  }

  int RowOf(const std::string& word) {
    for (int row = 1; row < model.Candidates().RowCount(); ++row) {
      if (model.Candidates().Cell(0, row) == word) {
        return row;
      }
    }
    ADD_FAILURE() << word << " is no candidate";
    return -1;
  }

  void Pick(const std::string& word) { model.ChooseCandidate(RowOf(word)); }

  Words Phrase() {
    Words out;
    for (int row = 1; row <= 100; ++row) {
      if (!model.Phrase().Cell(0, row).empty()) {
        out.push_back(model.Phrase().Cell(0, row) + "@" + std::to_string(model.WordPositions(row)));
      }
    }
    return out;
  }

  Words Candidates() { return testing::ColumnWords(model.Candidates(), 1); }

  MainModel model{dictionary, host};
};

TEST_F(PhraseTest, PickingAWordTurnsItsDigitsIntoBulletsAndSearchesTheRest) {
  Type("1-800-356-9377");
  const int writes = host.entryWrites;
  Pick("elk");
  EXPECT_EQ(model.EntryText(), "1-800-" + B3 + "-9377");
  EXPECT_GT(host.entryWrites, writes);  // the engine's own write, not a user edit
  EXPECT_EQ(Phrase(), (Words{"elk@7"}));
  EXPECT_EQ(model.Phrase().Cell(1, 1), "356");
  EXPECT_EQ(Candidates(), (Words{"1", "8", "tuu", "wees", "err", "ss", "s", "0"}));
  EXPECT_EQ(model.CurrentNumber(), "1-800-356-9377");  // the typed number stays
  EXPECT_EQ(model.SelectedWordLabel(), "elk");
  EXPECT_TRUE(model.ConvertEnabled());
  EXPECT_FALSE(model.CopyEnabled());
}

TEST_F(PhraseTest, TheModeDecidesWhichOccurrenceIsTaken) {
  Type("77-77");
  Pick("ss");
  EXPECT_EQ(model.EntryText(), "\x95\x95-77");
  model.ResumeNumber();
  model.SetMode(SearchMode::kRight);
  model.Search();
  Pick("ss");
  EXPECT_EQ(model.EntryText(), "77-\x95\x95");
  EXPECT_EQ(Phrase(), (Words{"ss@4"}));
}

TEST_F(PhraseTest, ThePhraseStaysInNumberOrder) {
  Type("228-4357");
  Pick("help");
  Pick("bat");
  EXPECT_EQ(Phrase(), (Words{"bat@1", "help@5"}));
  EXPECT_EQ(model.Phrase().Cell(1, 1), "228");
  EXPECT_EQ(model.Phrase().Cell(1, 2), "4357");
}

TEST_F(PhraseTest, ACoveredNumberEnablesCopyWithTheTypedNumberAndTheWords) {
  Type("228-4357");
  Pick("bat");
  Pick("help");
  EXPECT_EQ(model.EntryText(), B3 + "-\x95\x95\x95\x95");
  EXPECT_FALSE(model.ConvertEnabled());
  EXPECT_TRUE(model.CopyEnabled());
  EXPECT_TRUE(Candidates().empty());
  EXPECT_EQ(model.PhraseText(), "228-4357, bat help");
}

TEST_F(PhraseTest, DigitWordsCoverTheDigitsWithoutLetters) {
  Type("18003569377");
  // No "flowers" in this dictionary: elk and wees with digit words around them.
  for (const char* word : {"elk", "wees", "1", "8"}) {
    Pick(word);
  }
  Pick("0");
  Pick("0");
  EXPECT_TRUE(model.CopyEnabled());
  EXPECT_EQ(model.PhraseText(), "18003569377, 1 8 0 0 elk wees");
}

TEST_F(PhraseTest, RemovingAWordGivesItsDigitsBackAndSearchesAgain) {
  Type("228-4357");
  Pick("bat");
  Pick("help");
  model.RemovePhraseWord(1);  // bat
  EXPECT_EQ(model.EntryText(), "228-\x95\x95\x95\x95");
  EXPECT_EQ(Phrase(), (Words{"help@5"}));
  EXPECT_EQ(model.Phrase().Cell(1, 1), "4357");
  EXPECT_EQ(Candidates(), (Words{"8", "bat", "a"}));
  EXPECT_TRUE(model.ConvertEnabled());
  EXPECT_FALSE(model.CopyEnabled());
  EXPECT_TRUE(model.SelectedWordLabel().empty());  // the affix offers are gone
}

TEST_F(PhraseTest, RemovingAnEmptySlotOnlyRebuildsAndSearches) {
  Type("228-4357");
  Pick("bat");
  const std::string before = model.EntryText();
  model.RemovePhraseWord(5);
  EXPECT_EQ(model.EntryText(), before);
  EXPECT_EQ(Phrase(), (Words{"bat@1"}));
  EXPECT_EQ(Candidates(), (Words{"s", "help"}));
  model.RemovePhraseWord(0);    // the header is no slot
  model.RemovePhraseWord(101);  // nor is anything past the last one
  EXPECT_EQ(Phrase(), (Words{"bat@1"}));
}

TEST_F(PhraseTest, HeaderAndEmptyCandidateRowsPickNothing) {
  Type("228");
  const std::string before = model.EntryText();
  model.ChooseCandidate(0);
  model.ChooseCandidate(-3);
  model.ChooseCandidate(40);
  EXPECT_EQ(model.EntryText(), before);
  EXPECT_TRUE(Phrase().empty());
}

TEST_F(PhraseTest, ACandidateWhoseDigitsAreNotInTheNumberIsRefused) {
  // A cell pasted over through the grid's clipboard keys no longer matches the number.
  Type("228");
  model.TablesForGrids().candidates.SetCell(1, 1, "999");
  model.ChooseCandidate(1);
  model.TablesForGrids().candidates.SetCell(1, 1, "\x95");
  model.ChooseCandidate(1);
  EXPECT_EQ(model.EntryText(), "228");
  EXPECT_TRUE(Phrase().empty());
}

TEST_F(PhraseTest, TheGridShowsAtLeast25WordRowsAndGrowsForMore) {
  Type(std::string(30, '2'));
  Pick("a");
  EXPECT_EQ(model.Phrase().RowCount(), 26);
  for (int i = 1; i < 30; ++i) {
    model.ChooseCandidate(RowOf("a"));
  }
  EXPECT_EQ(model.Phrase().RowCount(), 31);
  EXPECT_EQ(model.WordPositions(30), 30);
  EXPECT_EQ(model.WordPositions(31), 5000);
  EXPECT_TRUE(model.CopyEnabled());
}

TEST_F(PhraseTest, LeftModeStartsAtTheFirstDigitBehindSeparatorsAndBullets) {
  model.SetMode(SearchMode::kLeft);
  const struct {
    const char* number;
    Words first;   // candidates of the typed number
    Words second;  // after picking bat, the entry starts with bullets
  } rows[] = {
      {"-228-4357", {"bat", "a"}, {"help"}},
      {"(228) 4357", {"bat", "a"}, {"help"}},
      {"228-4357", {"bat", "a"}, {"help"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number);
    Type(row.number);
    EXPECT_EQ(Candidates(), row.first);
    Pick("bat");
    EXPECT_EQ(Candidates(), row.second);
    Pick("help");
    EXPECT_TRUE(model.CopyEnabled());
    EXPECT_EQ(model.PhraseText(), std::string(row.number) + ", bat help");
  }
}

TEST_F(PhraseTest, RemovingAWordAfterTheEntryWasRewrittenLeavesTheNumberAlone) {
  // The digits go back only where the word's bullets still stand.
  for (const std::string rewritten : {"555-4357", "\x95", "", "\x95\x95-4357"}) {
    SCOPED_TRACE(rewritten);
    Type("228-4357");
    Pick("bat");
    model.SetEntryText(rewritten);
    model.RemovePhraseWord(1);
    EXPECT_EQ(model.EntryText(), rewritten);
    EXPECT_TRUE(Phrase().empty());
  }
}

TEST_F(PhraseTest, AHundredWordsAreAllShownAndCopied) {
  // The longest number the field takes, covered by one-digit words: the hundredth word
  // lands in slot 100.
  Type(std::string(100, '2'));
  for (int i = 0; i < 100; ++i) {
    model.ChooseCandidate(RowOf("a"));
  }
  ASSERT_EQ(Phrase().size(), 100u);
  EXPECT_EQ(model.Phrase().Cell(0, 100), "a");
  EXPECT_EQ(model.WordPositions(100), 100);
  EXPECT_EQ(model.Phrase().RowCount(), 101) << "the hundredth word is shown";
  EXPECT_TRUE(model.CopyEnabled());
  std::string words;
  for (int i = 0; i < 100; ++i) {
    words += " a";
  }
  EXPECT_EQ(model.PhraseText(), std::string(100, '2') + "," + words);

  // The hundredth word can be taken out again like any other.
  model.RemovePhraseWord(100);
  EXPECT_EQ(Phrase().size(), 99u);
  EXPECT_EQ(model.EntryText(), std::string(99, '\x95') + "2");
}

TEST_F(PhraseTest, PositionsAreZeroUntilTheFirstClear) {
  DictionaryFile other(files.Opener());
  RecordingHost otherHost;
  MainModel fresh(other, otherHost);
  EXPECT_EQ(fresh.WordPositions(1), 0);
  EXPECT_EQ(fresh.Phrase().Cell(0, 1), "  ");
  fresh.ResumeNumber();
  EXPECT_EQ(fresh.WordPositions(1), 5000);
  EXPECT_EQ(fresh.WordPositions(100), 5000);
  EXPECT_EQ(fresh.Phrase().RowCount(), 101);
  EXPECT_TRUE(fresh.Phrase().Cell(0, 1).empty());
}

TEST_F(PhraseTest, EnteringTheFieldStartsOverWithTheTypedNumber) {
  Type("228-4357");
  Pick("bat");
  model.ResumeNumber();
  EXPECT_EQ(model.EntryText(), "228-4357");
  EXPECT_TRUE(Phrase().empty());
  EXPECT_TRUE(Candidates().empty());
  EXPECT_TRUE(model.ConvertEnabled());
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), "The phrase was put aside: Esc brings it back");
}

// A phrase built over many clicks is not lost to entering the field: it comes back whole
// until the number is typed, searched or cleared.
TEST_F(PhraseTest, ThePhrasePutAsideByEnteringTheFieldComesBack) {
  Type("1-800-356-9377");
  Pick("elk");
  Pick("wees");
  const Words phrase = Phrase();
  const std::string entry = model.EntryText();
  const Words candidates = Candidates();
  const bool copy = model.CopyEnabled();
  const std::string status = Render(model.StatusMessage(), nullptr);
  ASSERT_EQ(phrase.size(), 2u);

  model.ResumeNumber();
  EXPECT_TRUE(model.PhraseSetAside());
  EXPECT_TRUE(Phrase().empty());
  EXPECT_TRUE(model.TakeBackPhrase());
  EXPECT_FALSE(model.PhraseSetAside());
  EXPECT_EQ(Phrase(), phrase);
  EXPECT_EQ(model.Phrase().Cell(1, 1), "356");
  EXPECT_EQ(model.EntryText(), entry);
  EXPECT_EQ(Candidates(), candidates);
  EXPECT_EQ(model.CopyEnabled(), copy);
  EXPECT_EQ(Render(model.StatusMessage(), nullptr), status);
  EXPECT_EQ(model.CurrentNumber(), "1-800-356-9377");
  // The word placed last is again the one whose endings and beginnings are offered.
  EXPECT_EQ(model.Chosen().word, "wees");
  EXPECT_EQ(model.Chosen().pos, 11);
  EXPECT_FALSE(model.TakeBackPhrase());  // once only
  // The phrase is whole again: a word comes off it as before.
  model.RemovePhraseWord(1);
  EXPECT_EQ(Phrase(), (Words{"wees@11"}));

  // Typing, a search or Clear after entering the field start over for good.
  struct Step {
    const char* what;
    std::function<void(MainModel&)> act;
  };
  for (const Step& step :
       std::vector<Step>{{"typed", [](MainModel& m) { m.TypeNumber("1-800-356-93771"); }},
                         {"searched", [](MainModel& m) { m.Search(); }},
                         {"cleared", [](MainModel& m) { m.ClearNumber(); }}}) {
    SCOPED_TRACE(step.what);
    Type("1-800-356-9377");
    Pick("elk");
    model.ResumeNumber();
    step.act(model);
    EXPECT_FALSE(model.PhraseSetAside());
    EXPECT_FALSE(model.TakeBackPhrase());
    EXPECT_TRUE(Phrase().empty());
  }
  // Entering an empty phrase puts nothing aside.
  Type("228-4357");
  model.ResumeNumber();
  EXPECT_FALSE(model.PhraseSetAside());
  EXPECT_TRUE(model.StatusMessage().empty() || Render(model.StatusMessage(), nullptr) !=
                                                   "The phrase was put aside: Esc brings it back");
}

TEST_F(PhraseTest, TypingAfterAPickKeepsTheBulletsButDropsThePhrase) {
  Type("228-4357");
  Pick("bat");
  model.TypeNumber(B3 + "-43571");
  EXPECT_EQ(model.EntryText(), B3 + "-43571");
  EXPECT_TRUE(Phrase().empty());
  EXPECT_TRUE(Candidates().empty());
  EXPECT_TRUE(model.SelectedWordLabel().empty());
  EXPECT_TRUE(model.ConvertEnabled());
  model.TypeNumber(B3);
  EXPECT_FALSE(model.ConvertEnabled());
}

TEST_F(PhraseTest, ClearEmptiesTheFieldButKeepsTheTypedNumber) {
  Type("228-4357");
  Pick("bat");
  model.ClearNumber();
  EXPECT_EQ(model.EntryText(), "");
  EXPECT_EQ(model.CurrentNumber(), "228-4357");
  EXPECT_FALSE(model.ConvertEnabled());
  EXPECT_TRUE(Phrase().empty());
  model.ResumeNumber();  // the empty text holds no bullet: it stays empty
  EXPECT_EQ(model.EntryText(), "");
}

TEST_F(PhraseTest, AFullEntryFieldWarnsOnEveryUserChange) {
  model.TypeNumber(std::string(99, '2'));
  EXPECT_TRUE(host.warnings.empty());
  model.TypeNumber(std::string(100, '2'));
  model.TypeNumber(std::string(100, '3'));
  EXPECT_EQ(host.warnings,
            (Words{"Entry Can Not Exceed 100 Characters", "Entry Can Not Exceed 100 Characters"}));
  EXPECT_EQ(model.EntryText(), std::string(100, '3'));
}

TEST_F(PhraseTest, PhraseTextTrimsTheNumberAndSkipsBlankRows) {
  Type(" 228-4357  ");
  Pick("bat");
  Pick("help");
  EXPECT_EQ(model.PhraseText(), "228-4357, bat help");
}

TEST_F(PhraseTest, PlacingAWordRefusesDigitsThatDoNotStandFreeAndKeepsTheChosenWord) {
  Type("228-4357");
  Pick("bat");
  const std::string entry = model.EntryText();
  const PhraseWord refused[] = {
      {"help", "4357", 4},   // one to the left: the separator is no digit of the word
      {"help", "4357", 6},   // one to the right: past the end of the number
      {"bat", "228", 1},     // already bullets
      {"help", "", 5},       // no digits
      {"help", "4357", 0},   // no position
      {"it", "\x95", 1},     // a bullet is no digit
      {"help", "43570", 5},  // longer than what stands there
  };
  for (const PhraseWord& word : refused) {
    SCOPED_TRACE(word.word + "/" + word.digits + "@" + std::to_string(word.pos));
    EXPECT_FALSE(model.PlaceWord(word));
    EXPECT_EQ(model.EntryText(), entry);
    EXPECT_EQ(Phrase(), (Words{"bat@1"}));
    EXPECT_EQ(model.Chosen().word, "bat");
    EXPECT_EQ(model.Chosen().pos, 1);
    EXPECT_EQ(model.SelectedWordLabel(), "bat");
  }
  EXPECT_TRUE(model.PlaceWord({"help", "4357", 5}));
  EXPECT_EQ(Phrase(), (Words{"bat@1", "help@5"}));
  EXPECT_EQ(model.Chosen().word, "help");
  EXPECT_EQ(model.Chosen().digits, "4357");
  EXPECT_EQ(model.Chosen().pos, 5);
  EXPECT_TRUE(Candidates().empty());  // the search followed the placed word
  EXPECT_EQ(model.PhraseText(), "228-4357, bat help");
}

Suggestion Suggested(std::vector<SuggestedWord> placed) {
  Suggestion s;
  s.placed = std::move(placed);
  return s;
}

TEST_F(PhraseTest, ASuggestionIsPlacedAsPicksByHandWouldBe) {
  // Typed, never searched: Copy still writes the number as typed.
  model.TypeNumber("228-4357");
  EXPECT_TRUE(model.ApplySuggestion(Suggested({{"bat", "228", 1}, {"help", "4357", 5}})));
  EXPECT_EQ(model.EntryText(), B3 + "-\x95\x95\x95\x95");
  EXPECT_EQ(Phrase(), (Words{"bat@1", "help@5"}));
  EXPECT_EQ(model.Chosen().word, "help");
  EXPECT_TRUE(model.CopyEnabled());
  EXPECT_EQ(model.PhraseText(), "228-4357, bat help");
}

TEST_F(PhraseTest, ASuggestionStopsAtTheFirstWordThatNoLongerFits) {
  Type("228-4357");
  EXPECT_FALSE(
      model.ApplySuggestion(Suggested({{"bat", "228", 1}, {"help", "4357", 4}, {"s", "7", 8}})));
  EXPECT_EQ(Phrase(), (Words{"bat@1"}));
  EXPECT_EQ(model.EntryText(), B3 + "-4357");
  EXPECT_EQ(model.Chosen().word, "bat");
}

}  // namespace
}  // namespace vantrel
