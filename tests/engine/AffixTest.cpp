// SPDX-License-Identifier: GPL-3.0-or-later
// The affix table and the endings and beginnings offered next to a placed word.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "Fakes.h"
#include "MainModel.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::MemoryFiles;
using testing::MemorySource;
using testing::RecordingHost;
using Words = std::vector<std::string>;

TEST(AffixTableTest, EndingsBeginningsAndWordsMarkedAtBothEnds) {
  MemorySource source(Dict({"9729,x-ray,B", "464,-ing,B", "73,re-,A", "46,-in-,B", "68437,over+,B",
                            "7,+s,B", "2255,ball,B"}));
  AffixTable table;
  ASSERT_TRUE(table.Load(source).IsOk());
  struct Row {
    std::uint8_t kind;
    const char* word;
    const char* digits;
    const char* cls;
  };
  const Row expected[] = {{kSuffix, "-ing", "464", "B"},    {kPrefix, "re-", "73", "A"},
                          {kSuffix, "-in-", "46", "B"},     {kPrefix, "-in-", "46", "B"},
                          {kPrefix, "over+", "68437", "B"}, {kSuffix, "+s", "7", "B"}};
  ASSERT_EQ(table.AffixLast, 5);
  for (int i = 0; i <= table.AffixLast; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(table[i].Kind, expected[i].kind);
    EXPECT_EQ(table[i].Word, expected[i].word);
    EXPECT_EQ(table[i].Digits, expected[i].digits);
    EXPECT_EQ(table[i].ClassLetter, expected[i].cls);
  }
}

TEST(AffixTableTest, PastTheCapacityTheLastEntryIsOverwritten) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 8501; ++i) {
    lines.push_back(std::to_string(i) + ",-a" + std::to_string(i) + ",B");
  }
  MemorySource source(Dict(lines));
  AffixTable table;
  table.Load(source);
  EXPECT_EQ(table.AffixLast, 8499);
  EXPECT_EQ(table[8498].Word, "-a8499");
  EXPECT_EQ(table[8499].Word, "-a8501");
}

TEST(AffixTableTest, EntriesBeforeAReadFailureStay) {
  MemorySource source(Dict({"464,-ing,B", "73,re-,B", "7,-s,B", "8,-t,B"}), 4, 25);
  AffixTable table;
  EXPECT_EQ(table.Load(source).Code(), StatusCode::kReadFailed);
  EXPECT_EQ(table.AffixLast, 1);
}

class AffixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.files["dict.txt"] = Dict({"2255,ball,B", "464,-ing,B", "7,-s,A", "73,re-,B", "46,-in-,B",
                                    "663,+one,B", "68437,over+,B", "8,8,D"});
    dictionary.Bind("dict.txt");
    dictionary.name = "dict.txt";
    model.LoadAffixes();
    model.ResumeNumber();
  }

  void PlaceBall(const std::string& number) {
    model.ResumeNumber();
    model.TypeNumber(number);
    model.Search();
    for (int row = 1; row < model.Candidates().RowCount(); ++row) {
      if (model.Candidates().Cell(0, row) == "ball") {
        model.ChooseCandidate(row);
        return;
      }
    }
    FAIL() << "ball is no candidate of " << number;
  }

  Words Offers() {
    Words out;
    for (int row = 0; row < model.AffixOffers().RowCount(); ++row) {
      if (!model.AffixOffers().Cell(0, row).empty()) {
        out.push_back(model.AffixOffers().Cell(0, row));
      }
    }
    return out;
  }

  Words Phrase() {
    Words out;
    for (int row = 1; row <= 100; ++row) {
      if (!model.Phrase().Cell(0, row).empty()) {
        out.push_back(model.Phrase().Cell(0, row) + "/" + model.Phrase().Cell(1, row) + "@" +
                      std::to_string(model.WordPositions(row)));
      }
    }
    return out;
  }

  int RowOfOffer(const std::string& word) {
    for (int row = 0; row < model.AffixOffers().RowCount(); ++row) {
      if (model.AffixOffers().Cell(0, row) == word) {
        return row;
      }
    }
    return -1;
  }

  MemoryFiles files;
  DictionaryFile dictionary{files.Opener()};
  RecordingHost host;
  MainModel model{dictionary, host};
};

TEST_F(AffixTest, OnlyAffixesRightBesideTheWordAreOffered) {
  struct Row {
    const char* number;
    Words offers;
  };
  const Row rows[] = {
      {"2255464", {"-ing", "-in-"}},
      {"2255-464", {}},  // not directly after the word
      {"732255", {"re-"}},
      {"73-2255", {}},  // the beginning must end where the word begins
      {"2255", {}},     // at the start and the end of the number: nothing either side
      {"684372255", {"over+"}},
      {"462255", {"-in-"}},  // the beginning half of an entry marked at both ends
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.number);
    PlaceBall(row.number);
    EXPECT_EQ(Offers(), row.offers);
    EXPECT_EQ(model.SelectedWordLabel(), "ball");
    EXPECT_EQ(model.AffixOffers().RowCount(), 16);
  }
}

TEST_F(AffixTest, ClassAOffersAreItalicUntilTheGridIsRefilled) {
  PlaceBall("22557");
  ASSERT_EQ(Offers(), (Words{"-s"}));
  EXPECT_TRUE(model.AffixOffers().Italic(0, 0));
  PlaceBall("2255464");
  ASSERT_EQ(model.AffixOffers().Cell(0, 0), "-ing");
  EXPECT_FALSE(model.AffixOffers().Italic(0, 0));
}

TEST_F(AffixTest, AJoinedEndingConfirmedWithOkCoversItsDigits) {
  PlaceBall("2255464");
  host.onAffixWindow = [&] {
    EXPECT_EQ(model.Correction().Cell(0, 1), "balling");
    EXPECT_EQ(model.Correction().Cell(1, 1), "2255464");
    EXPECT_TRUE(model.JoinAffix());
  };
  model.ChooseAffix(RowOfOffer("-ing"));
  EXPECT_EQ(host.affixWindows, 1);
  EXPECT_EQ(model.EntryText(), std::string(7, '\x95'));
  EXPECT_EQ(Phrase(), (Words{"balling/2255464@1"}));
  EXPECT_EQ(model.Chosen().word, "balling");
  EXPECT_EQ(model.SelectedWordLabel(), "balling");
  EXPECT_TRUE(model.CopyEnabled());
  EXPECT_FALSE(model.ConvertEnabled()) << "the ending took the last free digits";
  EXPECT_TRUE(host.warnings.empty());
}

TEST_F(AffixTest, CancelChangesNothing) {
  PlaceBall("2255464");
  const std::string entry = model.EntryText();
  model.ChooseAffix(RowOfOffer("-ing"));  // the window closes without OK
  EXPECT_EQ(host.affixWindows, 1);
  EXPECT_EQ(model.EntryText(), entry);
  EXPECT_EQ(Phrase(), (Words{"ball/2255@1"}));
  EXPECT_EQ(Offers(), (Words{"-ing", "-in-"}));
}

TEST_F(AffixTest, ACorrectedSpellingLandsInThePhraseWithBulletsForTheDigits) {
  PlaceBall("2255464");
  host.onAffixWindow = [&] {
    model.Correction().SetCell(0, 1, "bawling");
    EXPECT_TRUE(model.JoinAffix());
  };
  model.ChooseAffix(RowOfOffer("-ing"));
  EXPECT_EQ(Phrase(), (Words{"bawling/2255464@1"}));
  EXPECT_EQ(model.EntryText(), std::string(7, '\x95'));
}

TEST_F(AffixTest, AJoinedBeginningStartsLeftOfTheWord) {
  PlaceBall("8732255");
  host.onAffixWindow = [&] {
    EXPECT_EQ(model.Correction().Cell(0, 1), "reball");
    EXPECT_EQ(model.Correction().Cell(1, 1), "732255");
    EXPECT_TRUE(model.JoinAffix());
  };
  model.ChooseAffix(RowOfOffer("re-"));
  EXPECT_EQ(model.EntryText(), "8" + std::string(6, '\x95'));
  EXPECT_EQ(Phrase(), (Words{"reball/732255@2"}));
}

TEST_F(AffixTest, PlusEndingsAndBeginningsBecomeWordsOfTheirOwn) {
  PlaceBall("2255663");
  model.ChooseAffix(RowOfOffer("+one"));
  EXPECT_EQ(Phrase(), (Words{"ball/2255@1", "one/663@5"}));
  EXPECT_EQ(model.SelectedWordLabel(), "one");
  EXPECT_EQ(host.affixWindows, 0);

  PlaceBall("684372255");
  model.ChooseAffix(RowOfOffer("over+"));
  EXPECT_EQ(Phrase(), (Words{"over/68437@1", "ball/2255@6"}));
  EXPECT_EQ(model.EntryText(), std::string(9, '\x95'));
}

TEST_F(AffixTest, ATextMarkedAtBothEndsTakesTwoStepsInTurn) {
  PlaceBall("2255464");
  Words proposals;
  host.onAffixWindow = [&] { proposals.push_back(model.Correction().Cell(0, 1)); };
  model.ChooseAffix(RowOfOffer("-in-"));
  EXPECT_EQ(proposals, (Words{"ballin-", "inball"}));
}

TEST_F(AffixTest, ClicksBesideTheOffersDoNothing) {
  PlaceBall("2255464");
  for (int row : {-1, 2, 15, 16, 9000}) {
    model.ChooseAffix(row);
  }
  EXPECT_EQ(host.affixWindows, 0);
  EXPECT_EQ(Phrase(), (Words{"ball/2255@1"}));
}

TEST_F(AffixTest, OkRefusesWhenThePhraseNoLongerFitsTheProposal) {
  PlaceBall("2255464");
  host.onAffixWindow = [&] {
    model.Correction().SetCell(1, 1, "2255999");  // pasted over with other digits
    EXPECT_FALSE(model.JoinAffix());
    model.Correction().SetCell(1, 1, "2255464");
    model.Correction().SetCell(0, 1, " ");  // the word cut away
    EXPECT_FALSE(model.JoinAffix());
  };
  model.ChooseAffix(RowOfOffer("-ing"));
  EXPECT_EQ(host.warnings.size(), 2u);
  EXPECT_EQ(model.EntryText(), std::string(4, '\x95') + "464");
  EXPECT_EQ(Phrase(), (Words{"ball/2255@1"}));
  EXPECT_EQ(Offers(), (Words{"-ing", "-in-"}));
}

TEST_F(AffixTest, OkRefusesWhenTheChosenWordHasLeftThePhrase) {
  PlaceBall("2255464");
  host.onAffixWindow = [&] {
    model.RemovePhraseWord(1);  // no phrase row starts where the chosen word stood
    EXPECT_FALSE(model.JoinAffix());
  };
  model.ChooseAffix(RowOfOffer("-ing"));
  ASSERT_EQ(host.warnings.size(), 1u);
  EXPECT_EQ(host.warnings[0], "The word to correct is no longer in the phrase.");
  EXPECT_EQ(model.EntryText(), "2255464");
  EXPECT_TRUE(Phrase().empty());
}

TEST_F(AffixTest, ManyOffersGrowTheGridPastSixteenRows) {
  std::vector<std::string> lines = {"2255,ball,B"};
  for (int i = 0; i < 20; ++i) {
    lines.push_back("4,-x" + std::to_string(i) + ",B");
  }
  files.files["dict.txt"] = Dict(lines);
  model.LoadAffixes();
  PlaceBall("22554");
  EXPECT_EQ(Offers().size(), 20u);
  EXPECT_EQ(model.AffixOffers().RowCount(), 20);
}

TEST_F(AffixTest, ADictionaryThatCannotBeOpenedAsksForAnother) {
  dictionary.Bind("gone.txt");
  host.nextChoice.reset();
  model.LoadAffixes();
  EXPECT_EQ(host.dialogs, 1);
  EXPECT_EQ(model.Affixes().AffixLast, -1);
  EXPECT_EQ(dictionary.name, "No Dictionary Open");

  host.nextChoice = "dict.txt";
  dictionary.Bind("gone.txt");
  model.LoadAffixes();
  EXPECT_EQ(host.dialogs, 2);
  EXPECT_EQ(dictionary.name, "dict.txt");
  EXPECT_EQ(model.Affixes().AffixLast, 6);
}

// Neither a cancelled choice nor a file that cannot be opened changes the dictionary in
// use: the name shown, the path the settings keep and the file searched stay together.
TEST_F(AffixTest, OpenDictionaryKeepsTheDictionaryInUseWhenCancelledOrFailing) {
  host.translate = true;
  dictionary.SetInUse("dict.txt");
  host.nextChoice.reset();
  EXPECT_FALSE(model.OpenDictionary());
  host.nextChoice = "missing.txt";
  EXPECT_FALSE(model.OpenDictionary());
  EXPECT_EQ(host.warnings, (Words{"Can Not Open missing.txt in Open1Click"}));
  EXPECT_EQ(dictionary.name, "dict.txt");
  EXPECT_EQ(dictionary.InUse(), "dict.txt");
  EXPECT_EQ(dictionary.BoundPath(), "dict.txt");
  model.LoadAffixes();
  EXPECT_EQ(model.Affixes().AffixLast, 6);  // still read from the file in use
}

// The load in steps, as the windows run it: a search while the table is read is noted
// and made once the table is in place; a stop ends the reading within one read.
TEST_F(AffixTest, ASearchDuringTheLoadIsMadeWhenTheTableArrives) {
  std::unique_ptr<ByteSource> source = model.OpenForAffixes();
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(model.Affixes().AffixLast, -1);
  model.SetAffixesLoading(true);
  model.TypeNumber("2255");
  model.Search();
  EXPECT_EQ(Render(model.StatusMessage(), nullptr),
            "The dictionary is still loading; the search follows as soon as it is ready.");
  EXPECT_EQ(model.Candidates().Cell(0, 1), "");

  std::atomic<bool> stop{false};
  std::atomic<long long> bytesRead{0};
  StoppableSource stoppable(*source, stop, bytesRead);
  model.TakeAffixes(MainModel::ReadAffixes(stoppable));
  EXPECT_FALSE(model.AffixesLoading());
  EXPECT_EQ(model.Affixes().AffixLast, 6);
  EXPECT_EQ(bytesRead.load(), static_cast<long long>(files.files["dict.txt"].size()));
  EXPECT_EQ(model.Candidates().Cell(0, 1), "ball");
  EXPECT_TRUE(host.warnings.empty());

  // A stopped load reads no further.
  files.chunk = 8;
  source = dictionary.Reopen();
  StoppableSource stopping(*source, stop, bytesRead);
  char buffer[8];
  EXPECT_EQ(stopping.Read(buffer, sizeof buffer), 8);
  stop = true;
  EXPECT_EQ(stopping.Read(buffer, sizeof buffer), -1);
  EXPECT_FALSE(MainModel::ReadAffixes(stopping).result.IsOk());
}

TEST_F(AffixTest, AReadFailureDuringTheLoadIsReported) {
  files.chunk = 8;
  files.failAt = 30;
  model.LoadAffixes();
  EXPECT_EQ(host.warnings, (Words{"Error Reading Dictionary dict.txt"}));
  EXPECT_EQ(model.Affixes().AffixLast, 0);  // -ing was read before the failure
}

}  // namespace
}  // namespace vantrel
