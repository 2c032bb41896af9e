// SPDX-License-Identifier: GPL-3.0-or-later
// The word lookup: the digits fields under which the dictionary holds a word.

#include <gtest/gtest.h>

#include "Fakes.h"
#include "WordLookup.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::Words;

class LookupTest : public ::testing::Test, protected testing::MemoryDictionary {
 protected:
  void SetUp() override {
    UseDictionary({"4357,help,A", "2255,ball,B", "2256,ball(toy),B", "2257,ball (toy),B",
                   "2255,BALL,B", "228,bat ,B", "6663,\xC9t\xE9,B", "9999,last,B"});
    // A last line without its line end, which is never examined.
    files.files["dict.txt"] += "4444,onlylast,B";
  }

  Words Lookup(const std::string& word) {
    lookup.TypeWord(word, true);
    lookup.LookUp();
    return testing::ColumnWords(lookup.Results(), 0);
  }

  LookupModel lookup{dictionary, host};
};

TEST_F(LookupTest, FindsTheDigitsOfAWordIgnoringCaseAndNotes) {
  struct Row {
    const char* word;
    Words digits;
    bool copy;
  };
  const Row rows[] = {
      {"help", {"4357"}, true},
      {"HELP", {"4357"}, true},
      {"Help (note)", {"4357"}, true},
      {"  help  ", {"4357"}, true},
      // Listed once each, in file order; a blank left by a removed note never matches.
      {"ball", {"2255", "2256"}, false},
      {"bat", {"No Numeric Equivalent"}, false},        // "bat " keeps its blank
      {"\xC9T\xC9", {"No Numeric Equivalent"}, false},  // only A to Z fold
      {"\xC9t\xE9", {"6663"}, true},
      {"onlylast", {"No Numeric Equivalent"}, false},  // the last line is never examined
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.word);
    EXPECT_EQ(Lookup(row.word), row.digits);
    EXPECT_EQ(lookup.CopyEnabled(), row.copy);
  }
}

// The status line, which the main window's search writes through the same StatusLine:
// the fields found (at most the 19 rows the grid holds), the examined lines less one, and
// the seconds in the user's decimal separator, empty when they round to nothing. Only the
// words between the numbers are translated.
TEST_F(LookupTest, TheStatusLineSaysTheMatchesTheWordsAndTheSeconds) {
  std::vector<std::string> twentyTwoFields;
  for (int i = 1; i <= 22; ++i) {
    twentyTwoFields.push_back(std::to_string(1000 + i) + ",word,B");
    twentyTwoFields.push_back(std::to_string(1000 + i) + ",word,B");
  }
  struct Row {
    const char* name;
    std::vector<std::string> lines;  // empty: the fixture's dictionary
    const char* word;
    double seconds;
    char separator;
    bool translated;
    const char* expected;
  };
  const Row rows[] = {
      {"two fields", {}, "ball", 0.25, '.', false, " 2 Matches out of 8 words in .25 secs"},
      {"no field", {}, "nothing", 0.25, '.', false, " 0 Matches out of 8 words in .25 secs"},
      {"the time rounds to nothing",
       {},
       "ball",
       0.0004,
       '.',
       false,
       " 2 Matches out of 8 words in  secs"},
      {"a decimal comma",
       {},
       "ball",
       12.3456,
       ',',
       false,
       " 2 Matches out of 8 words in 12,346 secs"},
      {"translated", {}, "ball", 0.25, '.', true, " 2[ Matches out of ]8[ words in ].25[ secs]"},
      {"more fields than rows", twentyTwoFields, "word", 0, '.', false,
       " 19 Matches out of 43 words in  secs"},
      {"one examined line",
       {"2255,ball,B"},
       "ball",
       0,
       '.',
       false,
       " 1 Matches out of 0 words in  secs"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (!row.lines.empty()) {
      UseDictionary(row.lines);
    }
    host.clock = 0;
    host.tick = row.seconds;
    host.separator = row.separator;
    host.translate = row.translated;
    Lookup(row.word);
    EXPECT_EQ(Render(lookup.StatusMessage(),
                     [&](std::string_view english) { return host.Translate(english); }),
              row.expected);
  }
}

TEST_F(LookupTest, AClickOnAResultEnablesCopyWithItsDigits) {
  Lookup("Ball");
  lookup.ResultsForGrid().SetCurrentRow(1);
  lookup.ChooseResult();
  EXPECT_TRUE(lookup.CopyEnabled());
  EXPECT_EQ(lookup.CopyText(), "2256, Ball");
  lookup.ResultsForGrid().SetCurrentRow(5);
  lookup.ChooseResult();
  EXPECT_FALSE(lookup.CopyEnabled());

  Lookup("nothing");
  lookup.ResultsForGrid().SetCurrentRow(0);
  lookup.ChooseResult();
  EXPECT_TRUE(lookup.CopyEnabled());  // also the "No Numeric Equivalent" row
}

TEST_F(LookupTest, ATwentiethDistinctFieldReplacesTheNineteenth) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 22; ++i) {
    lines.push_back(std::to_string(1000 + i) + ",word,B");
    lines.push_back(std::to_string(1000 + i) + ",word,B");  // the same field twice
  }
  files.files["dict.txt"] = Dict(lines);
  const Words found = Lookup("word");
  ASSERT_EQ(found.size(), 19u);
  EXPECT_EQ(found[17], "1018");
  EXPECT_EQ(found[18], "1022");
  EXPECT_TRUE(lookup.Results().Cell(0, 19).empty());
}

TEST_F(LookupTest, ConvertIsEnabledOnlyForAUserTypedWordThatIsNotBlank) {
  lookup.TypeWord("   ", true);
  EXPECT_FALSE(lookup.ConvertEnabled());
  lookup.TypeWord("help", true);
  EXPECT_TRUE(lookup.ConvertEnabled());
  lookup.LookUp();
  // Entering the field again with the typed word still marked empties the results.
  lookup.TypeWord("help", true);
  EXPECT_TRUE(lookup.Results().Cell(0, 0).empty());
  EXPECT_FALSE(lookup.CopyEnabled());
  lookup.LookUp();
  // A focus on a text the program wrote changes nothing.
  lookup.TypeWord("help", false);
  EXPECT_EQ(lookup.Results().Cell(0, 0), "4357");
  EXPECT_TRUE(lookup.CopyEnabled());
}

TEST_F(LookupTest, ClearEmptiesWordAndResultsButKeepsTheStatus) {
  Lookup("help");
  const Message status = lookup.StatusMessage();
  lookup.Clear();
  EXPECT_TRUE(lookup.Results().Cell(0, 0).empty());
  EXPECT_FALSE(lookup.ConvertEnabled());
  EXPECT_FALSE(lookup.CopyEnabled());
  EXPECT_EQ(Render(lookup.StatusMessage(), nullptr), Render(status, nullptr));
}

TEST_F(LookupTest, FailuresLeaveTheWindowAsItWasOrWithWhatWasFound) {
  Lookup("help");
  host.translate = true;
  files.files.erase("dict.txt");
  Lookup("ball");
  EXPECT_EQ(host.warnings, (Words{"Can Not Open dict.txt in ConvertBtnClick"}));
  EXPECT_TRUE(lookup.Results().Cell(0, 0).empty());  // emptied by the edit only

  std::vector<std::string> lines(100, "2255,ball,B");
  lines.insert(lines.begin(), "4357,help,A");
  files.files["dict.txt"] = Dict(lines);
  files.chunk = 16;
  files.failAt = 200;
  lookup.TypeWord("help", true);
  lookup.LookUp();
  // This one message is never translated.
  EXPECT_EQ(host.warnings.back(), "Error Reading Dictionary dict.txt");
  EXPECT_EQ(lookup.Results().Cell(0, 0), "4357");
  EXPECT_FALSE(lookup.CopyEnabled());
  EXPECT_FALSE(host.busyNow);
}

}  // namespace
}  // namespace vantrel
