// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-number suggestions: hand-checked cases for each rule, and the first N against
// a brute-force enumeration of every cover on random small dictionaries.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "Fakes.h"
#include "MainModel.h"
#include "Suggest.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::MemorySource;

// "phrase|vanity" for each suggestion, the phrase as UTF-8.
std::vector<std::string> Lines(const std::vector<Suggestion>& suggestions) {
  std::vector<std::string> out;
  for (const Suggestion& s : suggestions) {
    out.push_back(Cp1252ToUtf8(s.phrase) + "|" + s.vanity);
  }
  return out;
}

std::vector<Suggestion> SuggestFor(const std::string& dictionary, const std::string& number,
                                   int limit = kDefaultSuggestions) {
  MemorySource source(dictionary, 7);
  std::vector<Suggestion> out;
  EXPECT_TRUE(Suggest(source, number, limit, out).IsOk());
  return out;
}

struct Case {
  const char* name;
  std::vector<std::string> dictionary;
  std::string number;
  int limit;
  std::vector<std::string> expected;
};

TEST(SuggestTest, HandCheckedCases) {
  const std::vector<Case> cases = {
      {"a word at every place its digits stand",
       {"23,ad,B"},
       "2323",
       20,
       {"23 ad|23AD", "ad ad|ADAD", "ad 23|AD23"}},
      {"overlapping placements are refused; with no plan the digits before the words are free",
       {"22,aa,B", "2,b,B"},
       "222",
       20,
       {"2 aa|2AA", "22 b|22B", "aa b|AAB", "b aa|BAA", "2 b b|2BB", "aa 2|AA2", "2 b 2|2B2",
        "b 2 b|B2B", "b b b|BBB", "b b 2|BB2", "b 22|B22"}},
      {"digits kept at the start cost nothing, at the end more, in the middle most",
       {"2,b,B", "4,g,B"},
       "234",
       20,
       {"23 g|23G", "b 34|B34", "b 3 g|B3G"}},
      {"a digit kept at the end costs more than a common word",
       {"22,ab,B", "2,a,B", "3,d,B"},
       "223",
       5,
       {"22 d|22D", "ab d|ABD", "2 a d|2AD", "ab 3|AB3", "2 a 3|2A3"}},
      {"common words before rare ones, whatever their length",
       {"2,a,F", "2,c,B", "23,ad,F", "3,e,B"},
       "123",
       4,
       {"12 e|12E", "1 c e|1CE", "1 c 3|1C3", "1 ad|1AD"}},
      {"a proper name costs more than a word as common",
       {"2,Cd,A,45", "2,ab,B,40", "2,zz,F"},
       "2",
       20,
       {"ab|AB", "Cd|CD", "zz|ZZ"}},
      {"separators stay where digits are kept, and words cross them",
       {"3569377,flowers,B", "356,elm,B", "9377,yeps,B"},
       "1-888-356-9377",
       3,
       {"1 888 flowers|1-888-FLOWERS", "1 888 elm yeps|1-888-ELM-YEPS",
        "1 888 356 yeps|1-888-356-YEPS"}},
      {"a word never crosses a bullet or a letter",
       {"22,aa,B", "2,b,B"},
       "2\x95"
       "2x2",
       20,
       {"2 2 b|2\xE2\x80\xA2"
        "2xB",
        "2 b b|2\xE2\x80\xA2"
        "BxB",
        "2 b 2|2\xE2\x80\xA2"
        "Bx2",
        "b 2 b|B\xE2\x80\xA2"
        "2xB",
        "b b b|B\xE2\x80\xA2"
        "BxB",
        "b b 2|B\xE2\x80\xA2"
        "Bx2",
        "b 2 2|B\xE2\x80\xA2"
        "2x2"}},
      {"the phrase's pieces in Windows-1252 order, one vanity text each",
       {"2,\xE9,B", "2,z,B", "2,Z,B"},
       "2",
       20,
       {"Z|Z", "\xC3\xA9|\xC3\x89"}},
      {"one vanity text per result, with its best phrase",
       {"2,a,F", "2,A,B", "22,aa,B"},
       "22",
       20,
       {"aa|AA", "2 A|2A", "A 2|A2"}},
      {"a limit of one", {"2,b,B", "2,a,B"}, "22", 1, {"2 a|2A"}},
      {"no cover that keeps every digit", {"3,d,B"}, "22", 20, {}},
      {"a number without a free digit gives nothing", {"2,a,B"}, "\x95-\x95", 20, {}},
      {"an empty number gives nothing", {"2,a,B"}, "", 20, {}},
      {"endings and beginnings are not words; over+ is over",
       {"68437,over+,B", "6843,-ing,B", "684,re-,B", "37,+s,B", "7,-s,B", "7,s-,B"},
       "68437",
       20,
       {"over|OVER"}},
      {"words of digits alone, or of nothing, spell nothing",
       {"2,2,D", "3,7,B", "2, ,B",
        "23,a\x01"
        "d,B",
        "3,d,B"},
       "23",
       20,
       {"2 d|2D"}},
      {"only digits fields of 0 to 9 take part",
       {"2 ,q,B", "2,a,B"},
       "2 2",
       2,
       {"2 a|2 A", "a a|A A"}},
      {"one capital for each letter; \xC3\x9F stays",
       {"23,\xDF\xB5\xFF,B"},
       "23",
       20,
       {"\xC3\x9F\xC2\xB5\xC3\xBF|\xC3\x9F\xCE\x9C\xC5\xB8"}},
      {"words are trimmed in the phrase and the vanity text", {"23, ab ,B"}, "23", 20, {"ab|AB"}},
      {"the number's other characters stay as typed", {"22,aa,B"}, "(2) 2x", 20, {"aa|(AAx"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Lines(SuggestFor(Dict(c.dictionary), c.number, c.limit)), c.expected);
  }
}

// Advertised vanity numbers, on a dictionary that holds the words that compete with them
// (with the commonness the bundled English dictionary gives them).
TEST(SuggestTest, TheAnswerAPersonPicksComesFirst) {
  const std::vector<std::string> dictionary = {
      "3569377,flowers,B,46", "356,elm,B,38", "9377,yeps,F",    "377,err,B,40",
      "888,tut,F,25",         "8,t,F",        "8,u,F",          "75,pl,F",
      "234,beg,C,33",         "34,eh,F,29",   "23,ad,B,45",     "2284,bath,B,44",
      "4357,help,B,53",       "228,bat,B,42", "228,cat,B,45",   "228,act,B,54",
      "4357,gels,E,28",       "438,get,B,53", "438,amt,C,34",   "43,he,B,66",
      "7378423,service,B,56", "737,pep,C,31", "8423,vice,B,43", "8423,tide,B,42",
      "617,Ola,A,28",         "2,a,B,74",     "4,i,B,70",       "529,law,B,52",
      "968,you,B,70",         "5,j,F,20",     "7243,paid,B,49", "7243,said,B,59",
      "367,for,B,70",         "538,jet,C,39", "538,let,B,57",   "2583,blue,B,50",
      "786,sun,B,49",         "786,run,B,54", "7666,room,B,51"};
  struct Example {
    std::string number;
    std::string first;
  };
  const std::vector<Example> examples = {
      {"18883569377", "1888FLOWERS"},       // the toll-free code kept, not TUT
      {"1-888-356-9377", "1-888-FLOWERS"},  // a word across the groups
      {"1-800-356-9377", "1-800-FLOWERS"},
      {"(617) 555-1234", "(617) 555-1BEG"},  // the area code kept, not OLA
      {"7378423", "SERVICE"},                // one word before two
      {"737/8423", "SERVICE"},               // a word across a slash
      {"737.8423", "SERVICE"},
      {"2284357", "ACTHELP"},          // a seven-digit line lettered whole
      {"18004384357", "1800GETHELP"},  // two common words before 438-HELP
      {"+1 800 438 4357", "+1 800 GET HELP"},
      {"5294968", "LAW4YOU"},  // the 4 between the words reads "for"
      // Words that go together before more common words that do not ("said for"),
      // across a separator too.
      {"18777243367", "1877PAIDFOR"},
      {"1-877-7243-367", "1-877-PAID-FOR"},
      {"18005382583", "1800JETBLUE"},
      {"7867666", "SUNROOM"},  // English writes it as one word too, not "run room"
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(e.number);
    const auto out = SuggestFor(Dict(dictionary), e.number);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0].vanity, e.first);
    for (const Suggestion& s : out) {
      EXPECT_GT(s.rank.words, 0) << s.vanity;
    }
  }
  const auto at = [&](const std::string& number, const std::string& vanity) {
    const auto out = SuggestFor(Dict(dictionary), number, 100);
    return std::find_if(out.begin(), out.end(),
                        [&](const Suggestion& s) { return s.vanity == vanity; }) -
           out.begin();
  };
  // Rare words do not win by lettering the line; kept digits cost most between words.
  EXPECT_LT(at("18004384357", "1800438HELP"), at("18004384357", "1800AMTGELS"));
  EXPECT_LT(at("2284357", "BATHELP"), at("2284357", "228HELP"));
  EXPECT_LT(at("2284357", "228HELP"), at("2284357", "BATH357"));
  EXPECT_LT(at("5294968", "LAW4YOU"), at("5294968", "5294YOU"));
  EXPECT_LT(at("5293968", "LAW3YOU"), at("5293968", "5293YOU"));
  EXPECT_EQ(SuggestFor(Dict(dictionary), "5294968")[0].rank.cost, 20 + 18 + 20);
  EXPECT_EQ(SuggestFor(Dict(dictionary), "5293968")[0].rank.cost, 20 + 30 + 20);
  // PAID 21 and FOR 20, less the pair's 14; SAID FOR stays 40, two words apart.
  const auto paid = SuggestFor(Dict(dictionary), "18777243367");
  ASSERT_GE(paid.size(), 2u);
  EXPECT_EQ(paid[0].rank.cost, 21 + 20 - PairBonus(WordPairs::English().Figure("paid", "for")));
  EXPECT_EQ(paid[0].pairs, 1);
  EXPECT_EQ(paid[1].vanity, "1877SAIDFOR");
  EXPECT_EQ(paid[1].rank.cost, 40);
  EXPECT_EQ(paid[1].pairs, 0);
  // A kept digit between the words parts them: no pair.
  const auto parted = SuggestFor(Dict(dictionary), "187772432367", 100);
  const auto kept = std::find_if(parted.begin(), parted.end(),
                                 [](auto& s) { return s.vanity == "1877PAID2FOR"; });
  ASSERT_NE(kept, parted.end());
  EXPECT_EQ(kept->pairs, 0);
  EXPECT_EQ(kept->rank.cost, 21 + 18 + 20);
  // The pieces of a pair are placed as two words at their own digits.
  const auto formatted = SuggestFor(Dict(dictionary), "1-877-7243-367");
  ASSERT_FALSE(formatted.empty());
  ASSERT_EQ(formatted[0].placed.size(), 4u);
  EXPECT_EQ(formatted[0].placed[2].word, "paid");
  EXPECT_EQ(formatted[0].placed[2].digits, "7243");
  EXPECT_EQ(formatted[0].placed[2].pos, 7);
  EXPECT_EQ(formatted[0].placed[3].word, "for");
  EXPECT_EQ(formatted[0].placed[3].digits, "367");
  EXPECT_EQ(formatted[0].placed[3].pos, 12);
  EXPECT_EQ(formatted[0].phrase, "1 877 paid for");
}

}  // namespace
extern const char kEnglishWordPairs[];
namespace {

// The pairs' table as the generator writes it, and what a reader makes of lines of any
// other shape.
TEST(WordPairsTest, ReadsItsTableAndSkipsOtherLines) {
  const WordPairs pairs(
      "get help 5\npaid for 14\nJet Blue 28\nbad line\nno figure \nneg ative -3\n"
      "zero pair 0\nthree word pair 9\n two 4\nhelp me 7x\nfor you 3");
  struct Pair {
    const char* first;
    const char* second;
    int figure;
  };
  for (const Pair& c : std::vector<Pair>{{"get", "help", 5},
                                         {"GET", "Help", 5},
                                         {"jet", "blue", 28},
                                         {"help", "get", 0},
                                         {"paid", "for", 14},
                                         {"for", "you", 3},
                                         {"bad", "line", 0},
                                         {"neg", "ative", 0},
                                         {"zero", "pair", 0},
                                         {"three", "word", 0},
                                         {"help", "me", 0},
                                         {"", "two", 0}}) {
    SCOPED_TRACE(std::string(c.first) + " " + c.second);
    EXPECT_EQ(pairs.Figure(c.first, c.second), c.figure);
  }
  // The strongest pair a word is in, first or second.
  EXPECT_EQ(pairs.Strongest("for"), 14);
  EXPECT_EQ(pairs.Strongest("HELP"), 5);
  EXPECT_EQ(pairs.Strongest("blue"), 28);
  EXPECT_EQ(pairs.Strongest("zero"), 0);
  EXPECT_TRUE(WordPairs().Empty());
  EXPECT_EQ(WordPairs().Figure("get", "help"), 0);
  // The built-in English pairs know the everyday ones, and nothing of German.
  EXPECT_GT(WordPairs::English().Figure("paid", "for"), WordPairs::English().Figure("said", "for"));
  EXPECT_GT(WordPairs::English().Figure("get", "help"), 0);
  EXPECT_EQ(WordPairs::English().Figure("ich", "bin"), 0);
  // Every line of the built-in table is found where halving looks for it, so the table
  // is in the order the lookup needs.
  std::istringstream english(kEnglishWordPairs);
  int lines = 0;
  for (std::string first, second; english >> first >> second;) {
    int figure = 0;
    english >> figure;
    ++lines;
    ASSERT_EQ(WordPairs::English().Figure(first, second), figure) << first << " " << second;
    ASSERT_GE(WordPairs::English().Strongest(second), figure) << second;
  }
  EXPECT_GT(lines, 10000);
  // A figure beyond the most a pair takes off counts as that most.
  EXPECT_EQ(PairBonus(0), 0);
  EXPECT_EQ(PairBonus(5), 5 * kPairWeight);
  EXPECT_EQ(PairBonus(1000), kMostForAPair);
}

TEST(SuggestTest, PiecesGiveTheTextTheyCoverAndItsPosition) {
  const auto out =
      SuggestFor(Dict({"3569377,flowers,B", "356,elm,B", "68437,over+,B"}), "1-800-356-9377", 1);
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].phrase, "1 800 flowers");
  std::vector<std::string> placed;
  for (const SuggestedWord& w : out[0].placed) {
    placed.push_back(w.word + "@" + w.digits + "@" + std::to_string(w.pos) +
                     (w.kept ? "@kept" : ""));
  }
  EXPECT_EQ(placed,
            (std::vector<std::string>{"1@1@1@kept", "800@800@3@kept", "flowers@356-9377@7"}));
  EXPECT_EQ(out[0].rank, (Rank{0, 25, 1, 4}));
  EXPECT_EQ(out[0].prefixDigits, 4);
  EXPECT_EQ(out[0].plan.kind, PlanKind::kNorthAmerican);
  EXPECT_EQ(out[0].plan.code, CodeKind::kTollFree);
}

TEST(SuggestTest, KeptDigitsAreCountedByWhereTheyStand) {
  // Words cost 20 + 50 - commonness: j (16) 54, d (C: 35) 35, p (a name: 30, and 10) 50.
  const auto out =
      SuggestFor(Dict({"3,d,C", "5,j,F,16", "7,p,A", "9,w,B,70"}), "(213) 345-6729", 1000);
  const auto find = [&](const std::string& vanity) {
    const auto it = std::find_if(out.begin(), out.end(),
                                 [&](const Suggestion& s) { return s.vanity == vanity; });
    EXPECT_NE(it, out.end()) << vanity;
    return it == out.end() ? Suggestion{} : *it;
  };
  struct Expected {
    std::string vanity;
    Rank rank;
    int prefix, leading, middle, toOrFor, trailing, leastCommon;
    bool name;
  };
  const std::vector<Expected> cases = {
      // The area code kept; 4 words; the 4, the 6 and the 2 between words.
      {"(213) D4J-6P2W", {0, 35 + 18 + 54 + 30 + 50 + 18 + 20, 4, 6}, 3, 0, 3, 2, 0, 16, true},
      // Kept digits before the first word, and after the last.
      {"(213) 345-6P29", {0, 4 * 14 + 50 + 2 * 26, 1, 9}, 3, 4, 0, 0, 2, 30, true},
      // A word over the prefix: it ranks after every cover that keeps it.
      {"(21D) 345-672W", {1, 35 + 4 * 30 + 2 * 18 + 20, 2, 8}, 2, 0, 6, 2, 0, 35, false},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.vanity);
    const Suggestion s = find(e.vanity);
    EXPECT_EQ(s.rank, e.rank);
    EXPECT_EQ(
        std::vector<int>({s.prefixDigits, s.leadingDigits, s.middleDigits, s.toOrFor,
                          s.trailingDigits, s.leastCommon}),
        std::vector<int>({e.prefix, e.leading, e.middle, e.toOrFor, e.trailing, e.leastCommon}));
    EXPECT_EQ(s.withName, e.name);
  }
}

TEST(SuggestTest, CommonnessFromTheLineOrItsClassLetter) {
  // One word a number; the cost of a lone word tells its commonness: 20 + 50 - figure.
  struct Row {
    std::string line;
    int cost;
  };
  const std::vector<Row> cases = {{"2,a,B,43", 27},     {"2,a,B,4", 66},       {"2,a,B,437", 27},
                                  {"2,a,B,x5", 25},     {"2,a,B,", 25},        {"2,a,C", 35},
                                  {"2,a,E", 44},        {"2,a,F", 55},         {"2,a,A", 50},
                                  {"2,a,A,48", 32},     {"2,a,Z", 25},         {"2,a,B,99", 20},
                                  {"2,a (x),C,41", 29}, {"2,a (x,y),B,33", 37}};
  for (const Row& c : cases) {
    SCOPED_TRACE(c.line);
    NumberingPlan none;
    MemorySource source(Dict({c.line}), 7);
    std::vector<Suggestion> out;
    ASSERT_TRUE(Suggest(source, "2", 1, none, out).IsOk());
    ASSERT_EQ(out.size(), 1U);
    EXPECT_EQ(out[0].rank.cost, c.cost);
  }
}

// The prefix a person keeps, by the number's shape; "" when no plan knows the shape.
TEST(SuggestTest, NumberingPlansFindThePrefix) {
  using L = DictionaryLanguage;
  struct Row {
    std::string number;
    L language;
    PlanKind kind;
    CodeKind code;
    bool country;
    std::string prefix;
  };
  const PlanKind na = PlanKind::kNorthAmerican;
  const PlanKind de = PlanKind::kGerman;
  const PlanKind fr = PlanKind::kFrench;
  const std::vector<Row> cases = {
      {"18003569377", L::kUnknown, na, CodeKind::kTollFree, true, "1800"},
      {"1-833-356-9377", L::kUnknown, na, CodeKind::kTollFree, true, "1-833"},
      {"1-811-356-9377", L::kUnknown, na, CodeKind::kArea, true, "1-811"},
      {"1-822-356-9377", L::kUnknown, na, CodeKind::kArea, true, "1-822"},
      {"+1 (617) 555-1234", L::kUnknown, na, CodeKind::kArea, true, "+1 (617)"},
      {"011 1 888 555 1234", L::kUnknown, na, CodeKind::kTollFree, true, "011 1 888"},
      {"(617) 555-1234", L::kUnknown, na, CodeKind::kArea, false, "(617)"},
      {"8885551234", L::kUnknown, na, CodeKind::kTollFree, false, "888"},
      {"7867666", L::kUnknown, na, CodeKind::kNone, false, ""},
      {"1867666", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"10345678901", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"555-1234 x12", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"08001234567", L::kUnknown, de, CodeKind::kTollFree, false, "0800"},
      {"01805 123456", L::kUnknown, de, CodeKind::kService, false, "01805"},
      {"0171 1234567", L::kUnknown, de, CodeKind::kMobile, false, "0171"},
      {"030 1234567", L::kUnknown, de, CodeKind::kArea, false, "030"},
      {"02211234567", L::kUnknown, de, CodeKind::kArea, false, "0221"},
      {"02281234567", L::kUnknown, de, CodeKind::kArea, false, "0228"},
      {"062211234567", L::kUnknown, de, CodeKind::kArea, false, "06221"},
      {"06221 12345", L::kUnknown, de, CodeKind::kArea, false, "06221"},
      {"0622 112345", L::kUnknown, de, CodeKind::kArea, false, "0622"},
      {"+49 800 1234567", L::kUnknown, de, CodeKind::kTollFree, true, "+49 800"},
      {"0049 89 1234567", L::kUnknown, de, CodeKind::kArea, true, "0049 89"},
      {"0800123456", L::kUnknown, fr, CodeKind::kTollFree, false, "0800"},
      {"08 00 12 34 56", L::kFrench, fr, CodeKind::kTollFree, false, "08 00"},
      {"0892123456", L::kFrench, fr, CodeKind::kService, false, "0892"},
      {"0612345678", L::kFrench, fr, CodeKind::kMobile, false, "06"},
      {"0142345678", L::kFrench, fr, CodeKind::kArea, false, "01"},
      // A blank before the number forms no group of its own: still unformatted.
      {" 0142345678", L::kUnknown, fr, CodeKind::kArea, false, " 01"},
      // Ten digits after a 0 fit both plans: the dictionary's language decides.
      {"0800123456", L::kGerman, de, CodeKind::kTollFree, false, "0800"},
      {"0301234567", L::kGerman, de, CodeKind::kArea, false, "030"},
      {"0301234567", L::kUnknown, fr, CodeKind::kArea, false, "03"},
      {"+33 1 42 34 56 78", L::kGerman, fr, CodeKind::kArea, true, "+33 1"},
      {"+33 800 12 34 56", L::kUnknown, fr, CodeKind::kTollFree, true, "+33 800"},
      {"+44 20 7946 0000", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"+7 495 123 45 67", L::kFrench, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"+49 30 12", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"+49 30 1234567890", L::kUnknown, de, CodeKind::kArea, true, "+49 30"},
      {"+49 30 12345678901", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"+1 800 356 937", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"\x95"
       "8003569377",
       L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
      {"1\x95"
       "003569377",
       L::kUnknown, na, CodeKind::kArea, true,
       "1\x95"
       "00"},
      {"", L::kUnknown, PlanKind::kNone, CodeKind::kNone, false, ""},
  };
  for (const Row& c : cases) {
    SCOPED_TRACE(c.number);
    const NumberingPlan plan = FindNumberingPlan(c.number, c.language);
    EXPECT_EQ(plan.kind, c.kind);
    EXPECT_EQ(plan.code, c.code);
    EXPECT_EQ(plan.countryCode, c.country);
    EXPECT_EQ(c.number.substr(0, plan.prefixEnd), c.prefix);
  }
}

// The dictionary's letters say its language, which decides a shape both plans fit.
TEST(SuggestTest, TheDictionarysLettersChooseThePlan) {
  const std::string french = Dict({"23,ad,B", "2,\xE9t\xE9,B", "3,ça,B"});
  const std::string german = Dict({"23,ad,B", "2,\xE4h,B", "3,\xFC\xDF,B", "2,\xE9t\xE9,B"});
  for (const auto& [dictionary, prefix] :
       std::vector<std::pair<std::string, std::string>>{{french, "03"}, {german, "03232"}}) {
    const auto out = SuggestFor(dictionary, "0323232323", 1);
    ASSERT_EQ(out.size(), 1U);
    EXPECT_EQ(std::string("0323232323").substr(0, out[0].plan.prefixEnd), prefix);
  }
}

// The candidate grid keeps 4999 rows; the suggestions see every entry, so the best
// word may be the 6000th.
TEST(SuggestTest, EveryEntryCountsBeyondTheCandidateCap) {
  std::vector<std::string> lines;
  for (int i = 5999; i >= 0; --i) {
    char word[16];
    std::snprintf(word, sizeof word, "w%05d", i);
    lines.push_back(std::string("2,") + word + ",B");
  }
  const auto out = SuggestFor(Dict(lines), "2", kMaxSuggestions);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(kMaxSuggestions));
  EXPECT_EQ(out.front().phrase, "w00000");
  EXPECT_EQ(out.back().phrase, "w00999");
}

TEST(SuggestTest, AReadFailureGivesNothing) {
  const std::string dictionary = Dict({"2,a,B", "2,b,B", "2,c,B"});
  MemorySource source(dictionary, 3, 9);
  std::vector<Suggestion> out{Suggestion{}};
  EXPECT_EQ(Suggest(source, "2", 20, out).Code(), StatusCode::kReadFailed);
  EXPECT_TRUE(out.empty());
}

TEST(SuggestTest, FourteenTwosHaveTheirFirstTwentyDistinctAndInOrder) {
  const auto out =
      SuggestFor(Dict({"2,a,B", "2,b,B", "2,c,B", "22,ab,B", "222,abc,B"}), std::string(14, '2'));
  ASSERT_EQ(out.size(), 20U);
  for (std::size_t i = 1; i < out.size(); ++i) {
    EXPECT_TRUE(RanksBefore(out[i - 1], out[i])) << i;
    EXPECT_FALSE(RanksBefore(out[i], out[i - 1])) << i;
    EXPECT_FALSE(RanksBefore(out[i], out[i])) << i;  // a strict order: sorting relies on it
  }
  // No plan: the digits before the first word cost nothing, so one word, the longest.
  EXPECT_EQ(out[0].rank.words, 1);
  EXPECT_EQ(out[0].vanity, "22222222222ABC");
}

// A word across a separator is placed over the characters it covers, separator
// included, so that the phrase keeps one row for it and taking it out gives back the
// number exactly as it was typed.
TEST(SuggestPlacementTest, AWordAcrossASeparatorTakesItsDigitsAndTheSeparator) {
  testing::MemoryFiles files;
  files.files["dict.txt"] = Dict({"3569377,flowers,B", "356,elm,B", "1,1,D"});
  DictionaryFile dictionary{files.Opener()};
  dictionary.Bind("dict.txt");
  dictionary.name = "dict.txt";
  testing::RecordingHost host;
  MainModel model{dictionary, host};
  model.ResumeNumber();
  model.TypeNumber("1-888-356-9377");

  MemorySource source(files.files["dict.txt"]);
  std::vector<Suggestion> out;
  ASSERT_TRUE(Suggest(source, model.EntryText(), 1, out).IsOk());
  ASSERT_EQ(out.size(), 1U);
  ASSERT_EQ(out[0].vanity, "1-888-FLOWERS");
  ASSERT_TRUE(model.ApplySuggestion(out[0]));

  const std::string b = "\x95";
  EXPECT_EQ(model.EntryText(), b + "-" + b + b + b + "-" + b + b + b + b + b + b + b + b);
  std::vector<std::string> rows;
  for (int row = 1; row <= 3; ++row) {
    rows.push_back(model.Phrase().Cell(0, row) + "@" + model.Phrase().Cell(1, row) + "@" +
                   std::to_string(model.WordPositions(row)));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"1@1@1", "888@888@3", "flowers@356-9377@7"}));
  EXPECT_EQ(model.PhraseText(), "1-888-356-9377, 1 888 flowers");

  model.RemovePhraseWord(3);
  EXPECT_EQ(model.EntryText(), b + "-" + b + b + b + "-356-9377");
  // The number changed under a suggestion made before: nothing is placed over it.
  model.RemovePhraseWord(1);
  model.RemovePhraseWord(1);
  model.SetEntryText("1-888-356-93");
  EXPECT_FALSE(model.ApplySuggestion(out[0]));
}

// --- brute force ---

struct Word {
  std::string digits;
  std::string word;
  char classLetter;
  int figure = -1;  // the commonness written after the class letter; -1 when none is
};

bool IsSep(char c) {
  return c == ' ' || c == '-' || c == '(' || c == ')' || c == '.' || c == '/' || c == '+';
}

bool IsDigitChar(char c) {
  return c >= '0' && c <= '9';
}

// One piece of a cover: a kept digit (word == nullptr) or a word, over [from, to).
struct Piece {
  std::size_t from;
  std::size_t to;
  const Word* word;
};

// How common a word of a test line is: its figure after the class letter, else its
// letter's.
int CommonnessOf(const Word& w) {
  if (w.figure >= 0) {
    return w.figure;
  }
  switch (w.classLetter) {
    case 'C':
      return 35;
    case 'E':
      return 26;
    case 'F':
      return 15;
    case 'A':
      return 30;
    default:
      return 45;
  }
}

std::string Lowered(std::string text) {
  for (char& ch : text) {
    ch = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  }
  return text;
}

// The rank of a cover, worked out from the costs' definitions on the whole cover. Pairs
// of words side by side may each take their bonus off, as many as can without two
// sharing a word: the cover costs its cheapest reading.
Suggestion Judge(const std::string& number, const std::vector<Piece>& pieces,
                 const NumberingPlan& plan, const std::map<std::string, int>& pairs) {
  Suggestion s;
  std::size_t copied = 0;
  std::vector<bool> isWord;
  std::vector<std::string> items;  // kept digits that touch are one item
  std::vector<std::string> words;  // each piece's word, empty for a kept digit
  for (const Piece& p : pieces) {
    const bool joins = !isWord.empty() && !isWord.back() && p.word == nullptr && copied == p.from;
    s.vanity += Cp1252ToUtf8(number.substr(copied, p.from - copied));
    copied = p.to;
    if (p.word == nullptr) {
      s.vanity += number[p.from];
      s.order += std::string{number[p.from], '\0'};
      if (joins) {
        items.back() += number[p.from];
      } else {
        items.emplace_back(1, number[p.from]);
      }
      isWord.push_back(false);
      words.emplace_back();
      continue;
    }
    std::string shown;
    for (char ch : p.word->word) {
      if (ch != '+') {
        shown += ch;
      }
    }
    const std::string trimmed(Trim(shown));
    s.vanity += UpperUtf8(trimmed);
    s.order += trimmed + '\0';
    items.push_back(trimmed);
    words.push_back(trimmed);
    s.rank.words += 1;
    const int commonness = CommonnessOf(*p.word);
    s.rank.cost += 20 + std::max(0, 50 - commonness) + (p.word->classLetter == 'A' ? 10 : 0);
    for (std::size_t i = p.from; i < p.to && i < plan.prefixEnd; ++i) {
      s.rank.letteredPrefix += IsDigitChar(number[i]) ? 1 : 0;
    }
    isWord.push_back(true);
  }
  s.vanity += Cp1252ToUtf8(number.substr(copied));
  // best[k]: the most off over the first k pieces.
  std::vector<int> best(pieces.size() + 1, 0);
  for (std::size_t k = 2; k <= pieces.size(); ++k) {
    best[k] = best[k - 1];
    const Piece& a = pieces[k - 2];
    const Piece& b = pieces[k - 1];
    if (a.word == nullptr || b.word == nullptr ||
        !std::all_of(number.begin() + static_cast<long>(a.to),
                     number.begin() + static_cast<long>(b.from), IsSep)) {
      continue;
    }
    const auto found = pairs.find(Lowered(words[k - 2]) + ' ' + Lowered(words[k - 1]));
    if (found != pairs.end()) {
      best[k] = std::max(best[k], best[k - 2] + std::min(found->second, 20));
    }
  }
  s.rank.cost -= best[pieces.size()];
  for (const std::string& item : items) {
    s.phrase += (s.phrase.empty() ? "" : " ") + item;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (isWord[i]) {
      continue;
    }
    const bool before = std::find(isWord.begin(), isWord.begin() + static_cast<long>(i), true) !=
                        isWord.begin() + static_cast<long>(i);
    const bool after =
        std::find(isWord.begin() + static_cast<long>(i), isWord.end(), true) != isWord.end();
    const char digit = number[pieces[i].from];
    s.rank.keptDigits += 1;
    if (pieces[i].from < plan.prefixEnd) {
      continue;
    }
    if (!before) {
      s.rank.cost += plan.kind == PlanKind::kNone ? 0 : 14;
    } else if (after) {
      s.rank.cost += digit == '2' || digit == '4' ? 18 : 30;
    } else {
      s.rank.cost += 26;
    }
  }
  return s;
}

// Every cover of the number's digits, ranked, one per vanity text, none without a word.
std::vector<Suggestion> BruteForce(const std::vector<Word>& words, const std::string& number,
                                   int limit, const NumberingPlan& plan,
                                   const std::map<std::string, int>& pairs) {
  std::map<std::string, Suggestion> best;
  std::vector<Piece> pieces;
  std::function<void(std::size_t)> cover = [&](std::size_t at) {
    while (at < number.size() && !IsDigitChar(number[at])) {
      ++at;
    }
    if (at == number.size()) {
      Suggestion s = Judge(number, pieces, plan, pairs);
      if (s.rank.words == 0) {
        return;
      }
      auto it = best.find(s.vanity);
      if (it == best.end() || RanksBefore(s, it->second)) {
        best[s.vanity] = s;
      }
      return;
    }
    pieces.push_back({at, at + 1, nullptr});
    cover(at + 1);
    pieces.pop_back();
    for (const Word& w : words) {
      // The word's digits one by one from at, crossing separators only.
      std::size_t i = at;
      std::size_t matched = 0;
      while (matched < w.digits.size() && i < number.size()) {
        if (number[i] == w.digits[matched]) {
          ++matched;
          ++i;
          if (matched < w.digits.size()) {
            while (i < number.size() && IsSep(number[i])) {
              ++i;
            }
          }
        } else {
          break;
        }
      }
      if (matched == w.digits.size()) {
        pieces.push_back({at, i, &w});
        cover(i);
        pieces.pop_back();
      }
    }
  };
  cover(0);
  std::vector<Suggestion> all;
  for (auto& [vanity, s] : best) {
    all.push_back(s);
  }
  std::sort(all.begin(), all.end(), RanksBefore);
  all.resize(std::min(all.size(), static_cast<std::size_t>(limit)));
  return all;
}

TEST(SuggestTest, MatchesBruteForceOnRandomDictionaries) {
  std::mt19937 random(20261207);
  const std::vector<std::string> letters = {"a", "b", "A", "B", "s", "S", "\xDF", " ", "9"};
  const std::string classes = "ABCEFDx";
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 600; ++round) {
    std::vector<std::string> lines;
    std::vector<Word> words;
    const int entries = 1 + pick(round % 8 == 0 ? 300 : round % 4 == 0 ? 80 : 10);
    for (int e = 0; e < entries; ++e) {
      std::string digits;
      for (int n = 1 + pick(e % 3 == 0 ? 3 : 1); n > 0; --n) {
        digits += static_cast<char>('2' + pick(2));
      }
      std::string word;
      for (int n = 1 + pick(3); n > 0; --n) {
        word += letters[static_cast<std::size_t>(pick(static_cast<int>(letters.size())))];
      }
      const int mark = pick(12);
      if (mark == 0) {
        word = "-" + word;
      } else if (mark == 1) {
        word += "+";
      } else if (mark == 2) {
        word = "+" + word;
      } else if (mark == 3) {
        word += "-";
      } else if (mark == 4) {
        word = digits;
      }
      const char classLetter = classes[static_cast<std::size_t>(pick(7))];
      // Most lines carry how common the word is, some a figure cut to two digits or none.
      const int figureKind = pick(5);
      int figure = -1;
      std::string after;
      if (figureKind <= 1) {
        figure = pick(90);
        after = "," + std::to_string(figure);
      } else if (figureKind == 2) {
        figure = 10 + pick(90);
        after = "," + std::to_string(figure) + "7";
      } else if (figureKind == 3) {
        after = ",x";
      }
      lines.push_back(digits + "," + word + "," + classLetter + after);
      std::string shown = word;
      std::erase(shown, '+');
      const std::string_view trimmed = Trim(shown);
      const bool spells = !trimmed.empty() && !std::all_of(trimmed.begin(), trimmed.end(),
                                                           [](char c) { return IsDigitChar(c); });
      if (word.front() != '-' && word.front() != '+' && word.back() != '-' && spells) {
        words.push_back({digits, word, classLetter, figure});
      }
    }
    std::string number;
    for (int n = 1 + pick(round % 4 == 0 ? 3 : 7); n > 0; --n) {
      const int kind = pick(12);
      number += kind == 0   ? '-'
                : kind == 1 ? kBullet
                : kind == 2 ? ' '
                : kind == 3 ? 'x'
                : kind == 4 ? '4'
                            : static_cast<char>('2' + pick(2));
    }
    const int limit = 1 + pick(round % 2 == 0 ? 3 : 30);
    // A plan with a prefix of any length, or none, whose leading digits cost nothing.
    NumberingPlan plan;
    if (round % 3 != 0) {
      plan.kind = PlanKind::kNorthAmerican;
      plan.prefixEnd = static_cast<std::size_t>(pick(static_cast<int>(number.size()) + 1));
    }
    SCOPED_TRACE("round " + std::to_string(round) + ", number " + Cp1252ToUtf8(number) +
                 ", limit " + std::to_string(limit) + ", prefix " + std::to_string(plan.prefixEnd) +
                 (round % 3 == 0 ? " (no plan)" : ""));
    // Pairs of the round's words that go together, some strong enough to reach the most
    // a pair takes off; a pair's words are written in either case.
    std::map<std::string, int> pairs;
    std::string table;
    if (round % 5 != 0 && !words.empty()) {
      for (int n = pick(12); n > 0; --n) {
        std::string first(
            Trim(words[static_cast<std::size_t>(pick(static_cast<int>(words.size())))].word));
        std::string second(
            Trim(words[static_cast<std::size_t>(pick(static_cast<int>(words.size())))].word));
        std::erase(first, '+');
        std::erase(second, '+');
        if (first.find(' ') != std::string::npos || second.find(' ') != std::string::npos) {
          continue;
        }
        const int figure = 1 + pick(26);
        pairs[Lowered(first) + ' ' + Lowered(second)] = figure;
        table += (pick(2) == 0 ? first : Lowered(first)) + ' ' + second + ' ' +
                 std::to_string(figure) + '\n';
      }
    }
    const auto expected = BruteForce(words, number, limit, plan, pairs);
    MemorySource source(Dict(lines), 7);
    std::vector<Suggestion> actual;
    ASSERT_TRUE(Suggest(source, number, limit, plan, WordPairs(table), actual).IsOk());
    ASSERT_EQ(Lines(actual), Lines(expected));
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].rank, expected[i].rank);
      // The pieces cover every digit once, each at the text it gives.
      std::string covered;
      for (const SuggestedWord& w : actual[i].placed) {
        EXPECT_EQ(number.compare(static_cast<std::size_t>(w.pos - 1), w.digits.size(), w.digits),
                  0);
        std::copy_if(w.digits.begin(), w.digits.end(), std::back_inserter(covered), IsDigitChar);
      }
      std::string free;
      std::copy_if(number.begin(), number.end(), std::back_inserter(free), IsDigitChar);
      EXPECT_EQ(covered, free);
    }
  }
}

}  // namespace
}  // namespace vantrel
